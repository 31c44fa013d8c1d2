#include "setup/engine/script/setup_messages.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/script/text_lines.h"

namespace setup::engine {
namespace {

const char* const kDefaults[kSetupMessageCount] = {
    "Please install the common controls update from Microsoft before attempting to install this "
    "product.",
    "Setup resource not found",
    "Setup resource decompression failure",
    "Setup database not found",
    "Runtime error in install: ",
    "bytes",
    "KB",
    "MB",
    "Attempting to get value of undefined variable ",
    "Attempting to set value of undefined variable ",
    "Copying: ",
    "Unable to copy installation data to local folders",
    "Downloading Web Media: ",
    "Unable to download installation data from the web",
    "Extracting Web Media: ",
    "Unable to extract installation data downloaded from the web",
    "Please locate your original setup sources to continue operation",
    "Original setup sources required to complete operation, sources not found",
    "General setup failure",
    "Runtime error in setup script:",
    "% complete",
    "bytes received",
    "Quillbay Wizard",
    "Quillbay is preparing the Quillbay Wizard which will install this application. Please wait.",
    "Retry Download?",
    "Downloading of installation data from the web has failed. Would you like to try again?",
    " Proxy Information (optional) ",
    "Proxy &Server:",
    "Proxy &Port:",
    "If you choose No, setup will exit. However, you will be able to resume your download from "
    "where it left off when you re-run setup.",
    "&Yes",
    "&No",
    "Retry Extraction?",
    "Extraction of installation data downloaded from the web has failed. What would you like to "
    "do?",
    "&Download a fresh copy of the installation data.",
    "Try to &extract the existing download data again.",
    "If you choose Cancel, setup will exit. Your existing download data will be preserved.",
    "&OK",
    "&Cancel",
    "Are you sure you want to cancel?",
    "Proxy &User:",
    "Proxy Pass&word:",
    "Fatal Error",
    "Error",
    "Warning",
    "Message",
    "Files in Use",
    "Out of Disk Space",
    "Downloading of installation data from the web has failed. Please make sure you are connected "
    "to the Internet.",
    "Would you like to:",
    "Try to &resume the broken download?",
    "Download a &new copy of the data instead?",
    "If you choose Cancel, setup will exit. However, you will be able to resume your download from "
    "where it left off when you re-run setup.",
    "",
    "Locating resource",
    "Connecting to",
    "Redirecting to",
    "Beginning data transfer",
    "Transferring data",
    "Finishing data transfer",
    "Beginning component download",
    "Installing components",
    "Finishing component download",
    "Resuming broken download",
    "Requesting data",
    "CLASSID available",
    "Download data recognized",
    "Saving download information",
    "Beginning synchronous operation",
    "Finishing synchronous operation",
    "Beginning data upload",
    "Uploading data",
    "Finishing data upload",
    "Protocol CLASSID",
    "Encoding",
    "Download data recognized and verified",
    "Class install location",
    "Decoding",
    "Loading data handler",
    "Content disposition attach",
    "Download data filtered",
    "CLSID can instantiate",
    "COM services unavailable",
    "Direct bind",
    "Unrecognized download data",
    "Detecting proxy information",
    "Accept ranges",
    "A previously executed setup still has pending operations on the system. Please restart your "
    "computer before attempting to install this product.",
    "Select Setup Language",
    "Please select the language to use during the installation:",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",  // 91-111
    "Unable to play Flash movie",
    "Will be &installed on local hard drive",
    "&Entire feature will be installed on local hard drive",
    "Entire feature will be &unavailable",
};

constexpr int kFirstIgnoredLine = 91;
constexpr int kLastIgnoredLine = 111;

struct LanguageEntry
{
    const char* name;
    int lcid;
};
constexpr LanguageEntry kLanguages[] = {
    {"Arabic", 1025},
    {"Catalan", 1027},
    {"Chinese (Taiwan)", 1028},
    {"Chinese (PRC)", 2052},
    {"Czech", 1029},
    {"Danish", 1030},
    {"German", 1031},
    {"Greek", 1032},
    {"English", 1033},
    {"Spanish", 3082},
    {"Estonian", 1061},
    {"Finnish", 1035},
    {"French", 1036},
    {"Hebrew", 1037},
    {"Hungarian", 1038},
    {"Italian", 1040},
    {"Japanese", 1041},
    {"Korean", 1042},
    {"Lithuanian", 1063},
    {"Latvian", 1062},
    {"Dutch", 1043},
    {"Norwegian", 1044},
    {"Polish", 1045},
    {"Portugese (Brazil)", 1046},
    {"Portugese (Portugal)", 2070},
    {"Romanian", 1048},
    {"Russian", 1049},
    {"Croatian", 1050},
    {"Slovak", 1051},
    {"Swedish", 1053},
    {"Thai", 1054},
    {"Turkish", 1055},
    {"Slovenian", 1060},
    {"Vietnamese", 1066},
    {"Basque", 1069},
};

std::vector<std::string> ReadLanguageBlock(TextLineReader& lines)
{
    std::vector<std::string> block;
    for (int n = 1; n <= kSetupMessageCount; ++n)
        block.push_back(lines.AtEnd() ? std::string() : lines.Next());
    return block;
}

}  // namespace

SetupMessages::SetupMessages() : m_texts(std::begin(kDefaults), std::end(kDefaults)) {}

std::string SetupMessages::Text(int n) const
{
    std::lock_guard lock(m_lock);
    return n >= 1 && n <= kSetupMessageCount ? m_texts[n - 1] : std::string();
}

void SetupMessages::Set(int n, std::string text)
{
    std::lock_guard lock(m_lock);
    if (n >= 1 && n <= kSetupMessageCount)
        m_texts[n - 1] = std::move(text);
}

void SetupMessages::Reset()
{
    std::lock_guard lock(m_lock);
    m_texts.assign(std::begin(kDefaults), std::end(kDefaults));
}

void SetupMessages::ApplyBlock(const std::vector<std::string>& block)
{
    std::lock_guard lock(m_lock);
    for (int n = 1; n <= kSetupMessageCount; ++n)
        if (n < kFirstIgnoredLine || n > kLastIgnoredLine)
            m_texts[n - 1] = block[n - 1];
}

void SetupMessages::LoadFromText(std::string_view text, std::string_view userLanguageName)
{
    TextLineReader lines(text);
    ApplyBlock(ReadLanguageBlock(lines));
    // Only the user's own section replaces the default block; an empty name matches nothing.
    while (!lines.AtEnd() && !userLanguageName.empty()) {
        const std::string header = lines.Next();
        const std::vector<std::string> block = ReadLanguageBlock(lines);
        if (rtl::AnsiSameText(header, userLanguageName)) {
            ApplyBlock(block);
            return;
        }
    }
}

bool SetupMessages::Load(const std::string& path, std::string_view userLanguageName)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream text;
    text << file.rdbuf();
    LoadFromText(text.str(), userLanguageName);
    return true;
}

std::string LanguageLcidOfName(std::string_view name)
{
    for (const LanguageEntry& entry : kLanguages)
        if (rtl::AnsiSameText(entry.name, name))
            return std::to_string(entry.lcid);
    return "1033";
}

std::string LanguageNameOfLcid(int lcid, const std::function<std::string(int)>& systemEnglishName)
{
    for (const LanguageEntry& entry : kLanguages)
        if (entry.lcid == lcid)
            return entry.name;
    const std::string mapped =
        LanguageLcidOfName(systemEnglishName ? systemEnglishName(lcid) : std::string());
    if (mapped == "1033")
        return {};
    for (const LanguageEntry& entry : kLanguages)
        if (std::to_string(entry.lcid) == mapped)
            return entry.name;
    return {};
}

std::string GetWizardCaptionSuffix()
{
    return " - Quillbay Wizard";
}

std::string GetWizardCaption(std::string_view title, bool suffixSwitchOn)
{
    if (suffixSwitchOn)
        return std::string(title);
    if (title.empty())
        return "Quillbay Wizard";
    return std::string(title) + GetWizardCaptionSuffix();
}

}  // namespace setup::engine
