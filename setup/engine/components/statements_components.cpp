#include "setup/engine/components/statements_components.h"

#include <optional>

#include "setup/engine/components/components_system.h"
#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/int_text.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {
namespace {

constexpr int kNameTranslation = 1;
constexpr int kDescriptionTranslation = 2;

// The run's component model, as the engine keeps it among its parts.
struct RunComponents
{
    ComponentModel model{&SystemDiskSpace()};
};

struct Bound
{
    IStateFileStore& files;
    IWow64Services* wow64;
};

// Under a translation language the stored parameter is translated first, then expanded.
std::string TranslatedParam(StatementContext& statement, int n, int translationIndex)
{
    std::string value = RawParam(statement, n);
    const EngineState& engine = statement.Engine();
    if (!engine.SelectedLanguage.empty())
        value = LocalizeParameter(statement.Script(), engine.Translations, value, statement.Key(),
                                  translationIndex);
    return statement.Vars().Expand(value);
}

std::string NameParam(StatementContext& statement)
{
    return TranslatedParam(statement, 1, kNameTranslation);
}

void DefineComponentStatement(StatementContext& statement, ComponentModel& model)
{
    const std::string name = NameParam(statement);
    const bool selected = TextToBool(RawParam(statement, 2));
    const std::string description = TranslatedParam(statement, 3, kDescriptionTranslation);
    if (!statement.Engine().SelectedLanguage.empty()) {
        // The size table knows the component under its untranslated name only.
        const std::string untranslated = ExpandedParam(statement, 1);
        const std::int64_t size = model.GetComponentSize(untranslated);
        if (size != 0 && !rtl::AnsiSameText(untranslated, name)) {
            model.ComponentTable.Add(name);
            model.ComponentTable.Add(std::to_string(size));
        }
    }
    model.DefineComponent(name, description, selected);
}

void DeleteComponentStatement(StatementContext& statement, ComponentModel& model)
{
    const std::string name = NameParam(statement);
    if (model.ComponentExists(name) && !model.IsComponentDeleted(name))
        model.DeletedComponents.Add(name);
}

void GetComponentStateStatement(StatementContext& statement, ComponentModel& model)
{
    const ResultVariable result(statement, RawParam(statement, 2));
    result.Assign(BoolToText(model.GetComponentState(NameParam(statement))));
}

void SetComponentStateStatement(StatementContext& statement, ComponentModel& model)
{
    model.SetComponentState(NameParam(statement), TextToBool(RawParam(statement, 2)));
}

void GetComponentSpaceStatement(StatementContext& statement, ComponentModel& model)
{
    const ResultVariable result(statement, RawParam(statement, 2));
    const std::string name = NameParam(statement);
    const std::int64_t bytes =
        name.empty() ? model.GetRequiredSpace() : model.GetComponentSize(name);
    result.Assign(std::to_string(bytes));
}

void SetComponentSpaceStatement(StatementContext& statement, ComponentModel& model)
{
    const std::string name = NameParam(statement);
    const std::optional<std::int64_t> size = rtl::TryStrToInt64(ExpandedParam(statement, 2));
    if (!size || !model.ComponentExists(name))
        return;
    rtl::TStringList& table = model.ComponentTable;
    const std::string upperName = rtl::AnsiUpperCase(name);
    for (std::size_t i = 0; i < table.Count(); ++i) {
        if (rtl::AnsiUpperCase(table[i]) != upperName)
            continue;
        if (i + 1 < table.Count())
            table[i + 1] = std::to_string(*size);
        else
            table.Add(std::to_string(*size));  // completes a pair cut short
        return;
    }
    table.Add(name);
    table.Add(std::to_string(*size));
}

void SetComponentChoiceStatement(StatementContext& statement, ComponentModel& model)
{
    const std::string name = NameParam(statement);
    if (TextToBool(RawParam(statement, 2)))
        RemoveFirstText(model.ChoiceLockedComponents, name);
    else if (model.ComponentExists(name) && !model.IsInChoiceLockedList(name))
        model.ChoiceLockedComponents.Add(name);
}

void SetComponentVisibilityStatement(StatementContext& statement, ComponentModel& model)
{
    const std::string name = NameParam(statement);
    if (TextToBool(RawParam(statement, 2)))
        RemoveFirstText(model.HiddenComponents, name);
    else if (model.ComponentExists(name) && !model.IsComponentHidden(name))
        model.HiddenComponents.Add(name);
}

void SwitchRedirectionOff(std::optional<FsRedirectionScope>& scope, const Bound& bound,
                          StatementContext& statement)
{
    if (bound.wow64 != nullptr)
        scope.emplace(*bound.wow64, statement.Engine().TargetPlatform);
}

void SaveFeatureSelectionsStatement(StatementContext& statement, const Bound& bound)
{
    const std::string path = ExpandedParam(statement, 1);
    std::optional<FsRedirectionScope> redirection;
    SwitchRedirectionOff(redirection, bound, statement);
    ComponentStateSave options;
    options.omitCacheFolder = true;
    options.fullWrite = true;
    options.targetPlatform = statement.Engine().TargetPlatform;
    SaveComponentState(bound.files, RunComponentModel(statement.Engine()), statement.Vars(), path,
                       options);
}

void LoadFeatureSelectionsStatement(StatementContext& statement, const Bound& bound)
{
    const std::string path = ExpandedParam(statement, 1);
    std::optional<FsRedirectionScope> redirection;
    SwitchRedirectionOff(redirection, bound, statement);
    if (!bound.files.Exists(path))
        return;
    ComponentStateLoad options;
    options.merge = true;
    LoadComponentState(bound.files, RunComponentModel(statement.Engine()), statement.Vars(), path,
                       options,
                       statement.Engine().TargetPlatform);
}

}  // namespace

void RegisterComponentStatements(StatementHandlerTable& table,
                                 const ComponentStatementServices& services)
{
    const Bound bound{services.files != nullptr ? *services.files : SystemStateFileStore(),
                      services.wow64};
    using ModelStatement = void (*)(StatementContext&, ComponentModel&);
    const std::pair<const char*, ModelStatement> modelStatements[] = {
        {"Define Component", DefineComponentStatement},
        {"Delete Component", DeleteComponentStatement},
        {"Get Component State", GetComponentStateStatement},
        {"Set Component State", SetComponentStateStatement},
        {"Get Component Space", GetComponentSpaceStatement},
        {"Set Component Space", SetComponentSpaceStatement},
        {"Set Component Choice", SetComponentChoiceStatement},
        {"Set Component Visibility", SetComponentVisibilityStatement},
    };
    // The entry is captured whole: older compilers cannot capture a structured binding.
    for (const auto& entry : modelStatements)
        table.Register(entry.first, [run = entry.second](StatementContext& statement) {
            run(statement, RunComponentModel(statement.Engine()));
        });
    table.Register("Save Feature Selections", [bound](StatementContext& statement) {
        SaveFeatureSelectionsStatement(statement, bound);
    });
    table.Register("Load Feature Selections", [bound](StatementContext& statement) {
        LoadFeatureSelectionsStatement(statement, bound);
    });
}

ComponentModel& RunComponentModel(EngineState& engine)
{
    return engine.Parts.Get<RunComponents>().model;
}

void ResetComponentModel(ComponentModel& model)
{
    model.ClearComponents();
}

void DefinePredefinedComponent(ComponentModel& model)
{
    model.DefineComponent(kPredefinedComponent, "", true);
}

}  // namespace setup::engine
