#include "setup/sysconfig/security/statement_access_control.h"

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/script/variables.h"
#include "setup/sysconfig/security/security_object.h"

namespace setup::sysconfig::security {

namespace {

using engine::StatementContext;

std::string TranslatedParam(StatementContext& statement, int n, int translationIndex)
{
    const std::string expanded = engine::ExpandedParam(statement, n);
    const std::string localized =
        engine::LocalizeExpanded(statement, expanded, statement.Key(), translationIndex);
    return statement.Vars().NormalizePath(localized);
}

bool FlagParam(StatementContext& statement, int n)
{
    return engine::TextToBool(engine::NormalizedParam(statement, n));
}

// The object of the last kind flag that is set; none when no flag is.
Ref<SecurityObject> OpenObject(SecurityContext& context, StatementContext& statement,
                               const std::wstring& name)
{
    Ref<SecurityObject> object;
    if (FlagParam(statement, 12))
        object = FileSecurityObject(context, name);
    if (FlagParam(statement, 13))
        object = ShareSecurityObject(context, name);
    if (FlagParam(statement, 14))
        object = RegistrySecurityObject(context, name);
    if (FlagParam(statement, 15))
        object = ServiceSecurityObject(context, name);
    if (FlagParam(statement, 16))
        object = PrinterSecurityObject(context, name);
    return object;
}

void Grant(SecurityObject& object, Account& account, bool printer, bool full)
{
    Ref<Acl> dacl = object.Dacl();
    if (printer)
        dacl->GrantPrinterRights(&account, full);
    else
        dacl->GrantFileRights(&account, full);
}

}  // namespace

void SetAccessControlStatement(StatementContext& statement, const AccessControlServices& services)
{
    const engine::FsRedirectionScope redirection(*services.wow64,
                                                 statement.Engine().TargetPlatform);
    const engine::TargetRegistryViewScope view(*services.wow64, statement.Engine());
    const std::wstring name = services.widen(TranslatedParam(statement, 1, 1));
    const std::string accountName = TranslatedParam(statement, 6, 2);

    SecurityContext context(*services.security);
    const Ref<SecurityObject> object = OpenObject(context, statement, name);
    if (!object)
        return;
    const bool printer = FlagParam(statement, 16);
    const auto apply = [&object] { object->Dacl()->Flush(); };

    if (FlagParam(statement, 9)) {
        using AccountFactory = Ref<Account> (*)(SecurityContext&, const std::string&);
        const AccountFactory factories[] = {
            [](SecurityContext& c, const std::string&) { return EveryoneAccount(c); },
            [](SecurityContext& c, const std::string&) { return CurrentUserAccount(c); },
            [](SecurityContext& c, const std::string&) { return AuthenticatedUsersAccount(c); },
            [](SecurityContext& c, const std::string& n) { return AccountByName(c, n); },
        };
        for (int i = 0; i < 4; ++i) {
            if (!FlagParam(statement, 2 + i))
                continue;
            context.FlushAccountCache();
            const Ref<Account> account = factories[i](context, accountName);
            for (const bool full : {false, true}) {
                // The list is applied after each step, granted or not.
                if (FlagParam(statement, full ? 8 : 7))
                    Grant(*object, *account, printer, full);
                apply();
            }
        }
    } else if (FlagParam(statement, 10)) {
        Ref<Acl> dacl = object->Dacl();
        dacl->MakePresent();
        dacl->Flush();
        dacl->MakeAbsent();
        dacl->Flush();
        dacl->MakePresent();
        dacl->Flush();
        dacl->Clear();
        dacl->Flush();
    } else if (FlagParam(statement, 11)) {
        Ref<Acl> dacl = object->Dacl();
        dacl->MakePresent();
        dacl->Flush();
        dacl->MakeAbsent();
        dacl->Flush();
    }
}

void RegisterAccessControlStatement(engine::StatementHandlerTable& table,
                                    const AccessControlServices& services)
{
    table.Register("Set Access Control", [services](StatementContext& statement) {
        SetAccessControlStatement(statement, services);
    });
}

}  // namespace setup::sysconfig::security
