// Test packages built by wixl, copied into a temp folder of the test's own with their files laid
// out uncompressed beside them, and database reads of what the setup program wrote into them.
#pragma once

#include <string>
#include <vector>

namespace setup::sysconfig::installer::testing {

inline constexpr const char* kTwoComponentsProduct = "{6A1F3B52-9C11-4E7A-9D3E-2B7C1A0E5F11}";
inline constexpr const char* kRefusedProduct = "{6A1F3B52-9C11-4E7A-9D3E-2B7C1A0E5F21}";

// A new empty folder under the temporary folder, with a trailing backslash.
std::string MakeTempFolder(const std::string& name);
void RemoveFolderTree(const std::string& folder);

// Copies package name (without ".msi") into folder and lays out its source files; returns the
// package's path.
std::string CopyPackage(const std::string& name, const std::string& folder);

bool FileExists(const std::string& path);
std::string ReadFileBytes(const std::string& path);

// One string or integer per fetched row of a query; empty when the query fails.
std::vector<std::string> QueryStrings(const std::string& packagePath, const std::string& sql);
std::vector<int> QueryIntegers(const std::string& packagePath, const std::string& sql);
void RunStatement(const std::string& packagePath, const std::string& sql);
std::string PropertyValue(const std::string& packagePath, const std::string& name);
std::string SummaryText(const std::string& packagePath, unsigned field);
int SummaryInteger(const std::string& packagePath, unsigned field);

}  // namespace setup::sysconfig::installer::testing
