// The setup engine's own message texts with their English defaults, replaceable by language from
// a language strings file; the language table; the wizard caption.
#pragma once

#include <array>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace setup::engine {

inline constexpr int kSetupMessageCount = 115;

// The engine's message texts (message n for n from 1 to 115), English until a language strings
// file replaces them. Start-up owns the table and shares it with the run, so a language the script
// loads stays in force for start-up's last messages; workers may read while the GUI thread loads.
// Lines 91 to 111 of a block are read and ignored.
class SetupMessages
{
public:
    SetupMessages();

    // Empty outside 1 to 115.
    std::string Text(int n) const;
    void Set(int n, std::string text);
    void Reset();  // back to the English defaults

    // Reads a language strings file: the unnamed default block, then sections of a header line
    // (an English language name) and a block. The section of the user's language wins; without
    // one the default block stays in force. Returns false when the file cannot be read.
    bool Load(const std::string& path, std::string_view userLanguageName);
    // The same over text already in memory.
    void LoadFromText(std::string_view text, std::string_view userLanguageName);

private:
    void ApplyBlock(const std::vector<std::string>& block);

    mutable std::mutex m_lock;
    std::vector<std::string> m_texts;
};

// The table's identifier (decimal text) of an English language name, letter case ignored; "1033"
// for a name outside the table.
std::string LanguageLcidOfName(std::string_view name);
// The table's name of an identifier; a regional variant maps to its language through the system's
// English name of the identifier (systemEnglishName), and anything else gives the empty name.
std::string LanguageNameOfLcid(int lcid, const std::function<std::string(int)>& systemEnglishName);

// The caption of every engine message box.
std::string GetWizardCaption(std::string_view title, bool suffixSwitchOn);
std::string GetWizardCaptionSuffix();

}  // namespace setup::engine
