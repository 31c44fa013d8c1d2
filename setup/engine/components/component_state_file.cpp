#include "setup/engine/components/component_state_file.h"

#include <array>
#include <optional>
#include <vector>

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/script/text_lines.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {
namespace {

constexpr std::string_view kListEnd = "$";
constexpr std::string_view kPlatformName = "TARQ64WOW";
constexpr std::string_view kOverrideCacheName = "OVERRIDECACHE";
// Names, states, deleted, hidden, choice-locked, sizes.
constexpr int kListCount = 6;
// TARGETDIR, ALLUSERS, STARTMENU and the data folder follow the lists.
constexpr int kFolderRows = 4;

class LineWriter
{
public:
    void Line(std::string_view line)
    {
        m_text += line;
        m_text += "\r\n";
    }
    void List(const rtl::TStringList& list)
    {
        for (const std::string& item : list.Items())
            Line(item);
        Line(kListEnd);
    }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

void WriteLists(LineWriter& out, const ComponentModel& model)
{
    out.List(model.ComponentNames);
    out.List(model.ComponentStates);
    out.List(model.DeletedComponents);
    out.List(model.HiddenComponents);
    out.List(model.ChoiceLockedComponents);
    out.List(model.ComponentTable);
}

void WriteFolders(LineWriter& out, IStateFileStore& store, const ScriptVariables& variables,
                  const ComponentStateSave& options)
{
    out.Line(variables.Get("TARGETDIR"));
    out.Line(variables.Get("ALLUSERS"));
    out.Line(variables.Get("STARTMENU"));
    out.Line(options.omitCacheFolder ? std::string() : store.ShortPath(options.dataDir));
}

void WriteVariables(LineWriter& out, const ScriptVariables& variables,
                    const ComponentStateSave& options)
{
    for (const std::string& name : variables.PersistedVariables.Items()) {
        out.Line(name);
        out.Line(EncodeNewlines(variables.Get(name)));
    }
    out.Line(kPlatformName);
    out.Line(options.targetPlatform);
    out.Line(kOverrideCacheName);
    out.Line(variables.Get(kOverrideCacheName));
}

// The stored lists and folder rows (rows 1 to 10) of an old file; nothing when the file is cut
// short before their end.
std::optional<std::vector<std::string>> StoredHead(const std::vector<std::string>& lines)
{
    int listEnds = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == kListEnd && ++listEnds == kListCount) {
            const std::size_t headEnd = i + 1 + kFolderRows;
            if (headEnd > lines.size())
                return std::nullopt;
            return std::vector<std::string>(lines.begin(), lines.begin() + headEnd);
        }
    }
    return std::nullopt;
}

void WriteReplacing(IStateFileStore& store, const std::string& path, const std::string& text)
{
    const std::string temporary = path + ".dat";
    try {
        store.WriteText(temporary, text);
        // One step: a failure leaves the old file in place rather than no file or half a file.
        store.Replace(temporary, path);
    } catch (...) {
        store.Remove(temporary);
        throw;
    }
}

// What a merge applies at the end, or a plain load appends as it goes.
struct ReadLists
{
    std::array<rtl::TStringList, kListCount> lists;
    int reached = 0;  // the sections the file got to (the last one possibly cut short)
};

void ApplyMerge(ComponentModel& model, const ReadLists& read)
{
    const rtl::TStringList& names = read.lists[0];
    const rtl::TStringList& states = read.lists[1];
    for (std::size_t i = 0; i < names.Count() && i < states.Count(); ++i) {
        for (std::size_t c = 0; c < model.ComponentNames.Count(); ++c) {
            if (!rtl::AnsiSameText(model.ComponentNames[c], names[i]))
                continue;
            while (model.ComponentStates.Count() <= c)
                model.ComponentStates.Add({});
            model.ComponentStates[c] = states[i];
        }
    }
    // A file cut short says nothing about the marks it never reached.
    rtl::TStringList* marks[] = {&model.DeletedComponents, &model.HiddenComponents,
                                 &model.ChoiceLockedComponents};
    for (int k = 0; k < 3; ++k) {
        if (read.reached > 2 + k)
            *marks[k] = read.lists[static_cast<std::size_t>(2 + k)];
    }
}

void AddPersisted(ScriptVariables& variables, std::string_view name)
{
    if (!ContainsText(variables.PersistedVariables, name))
        variables.PersistedVariables.Add(std::string(name));
}

}  // namespace

void SaveComponentState(IStateFileStore& store, const ComponentModel& model,
                        const ScriptVariables& variables, const std::string& path,
                        const ComponentStateSave& options)
{
    LineWriter out;
    if (options.fullWrite) {
        WriteLists(out, model);
        WriteFolders(out, store, variables, options);
        WriteVariables(out, variables, options);
        WriteReplacing(store, path, out.Text());
        return;
    }
    if (!store.Exists(path))
        return;
    const std::optional<std::vector<std::string>> head =
        StoredHead(SplitTextLines(store.ReadText(path)));
    if (head) {
        for (const std::string& line : *head)
            out.Line(line);
    } else {
        // Copying a damaged head would shift every later row; the current state is sound.
        WriteLists(out, model);
        WriteFolders(out, store, variables, options);
    }
    WriteVariables(out, variables, options);
    WriteReplacing(store, path, out.Text());
}

void LoadComponentState(IStateFileStore& store, ComponentModel& model, ScriptVariables& variables,
                        const std::string& path, const ComponentStateLoad& options,
                        std::string& targetPlatform)
{
    if (!store.Exists(path))
        return;
    const std::vector<std::string> lines = SplitTextLines(store.ReadText(path));

    ReadLists read;
    rtl::TStringList* own[kListCount] = {&model.ComponentNames,         &model.ComponentStates,
                                         &model.DeletedComponents,      &model.HiddenComponents,
                                         &model.ChoiceLockedComponents, &model.ComponentTable};
    const bool scratchSizes = options.merge || options.skipSizes;
    std::size_t at = 0;
    int section = 0;
    for (; at < lines.size() && section < kListCount; ++at) {
        read.reached = section + 1;
        if (lines[at] == kListEnd) {
            ++section;
            continue;
        }
        const bool scratch = options.merge || (section == kListCount - 1 && scratchSizes);
        (scratch ? read.lists[static_cast<std::size_t>(section)] : *own[section]).Add(lines[at]);
    }
    if (section < kListCount) {
        if (options.merge)
            ApplyMerge(model, read);
        return;
    }

    const char* const folderVariables[] = {"TARGETDIR", "ALLUSERS", "STARTMENU"};
    for (const char* name : folderVariables) {
        if (at < lines.size())
            variables.Set(name, lines[at++], kComponentStateContext);
    }
    if (at < lines.size()) {
        if (!options.merge)
            model.EarlierDataDir = lines[at];
        ++at;
    }

    for (; at + 1 < lines.size(); at += 2) {
        const std::string& name = lines[at];
        const std::string& value = lines[at + 1];
        if (name == kPlatformName) {
            targetPlatform = value;
            continue;
        }
        if (name.empty())
            continue;
        AddPersisted(variables, name);
        variables.Set(name, value, kComponentStateContext);
    }
    if (options.merge)
        ApplyMerge(model, read);
}

}  // namespace setup::engine
