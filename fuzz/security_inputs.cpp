// The security library's readers of outside input: SID texts from scripts (a text that reads must
// read back the same after writing), access lists as the system hands them over (every entry's
// fields, then edits that grow and shrink the list), and share names.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/sysconfig/security/acl.h"
#include "setup/sysconfig/security/share.h"

namespace {

using namespace setup::sysconfig::security;

// Every lookup fails: the input alone decides.
class NoSecurityApi : public ISecurityApi
{
public:
    std::uint32_t AccountOfSid(const Sid&, AccountNames&) override { return kErrorNoneMapped; }
    std::uint32_t AccountOfName(const std::string&, AccountNames&) override
    {
        return kErrorNoneMapped;
    }
    std::uint32_t CurrentUserSid(Sid&) override { return kErrorAccessDenied; }
    std::uint32_t ReadSecurity(const SecurityTarget&, std::uint32_t, SecurityParts&) override
    {
        return kErrorAccessDenied;
    }
    std::uint32_t WriteSecurity(const SecurityTarget&, std::uint32_t, const SecurityParts&) override
    {
        return kErrorAccessDenied;
    }
};

void ReadSidText(const std::string& text)
{
    const std::optional<Sid> sid = StringToSid(text);
    if (!sid)
        return;
    const std::optional<Sid> again = StringToSid(SidToString(*sid));
    if (!again || *again != *sid)
        std::abort();
}

void ReadAcl(const std::uint8_t* data, std::size_t size)
{
    NoSecurityApi api;
    SecurityContext context(api);
    const Ref<Acl> acl =
        MakeRef<Acl>(context, nullptr, std::optional<AclBytes>(AclBytes(data, data + size)));
    acl->CheckValid();
    for (int i = 0; i < acl->Count(); ++i) {
        const Ref<Ace> ace = acl->Aces(i);
        ace->Access();
        ace->ObjectFlags();
        ace->ObjectType();
        ace->InheritedObjectType();
        ace->SetObjectType(Guid{});
        ace->SetInheritedObjectType(Guid{});
        ace->SetObjectFlags(ace->ObjectFlags());
        ace->GetAccount()->SidString();
    }
    if (!acl->IsValid())
        return;
    const Ref<Ace> held = acl->Aces(0);
    acl->AddNewAce(EveryoneAccount(context), 1, 0, 0);
    acl->InsertAce(*acl->Aces(acl->Count() - 1), 0);
    while (acl->Count() > 1)
        acl->DeleteAce(acl->Count() / 2);
    held->Access();
    acl->GrantFileRights(AuthenticatedUsersAccount(context).Get(), true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
        case 0:
            ReadSidText(text);
            break;
        case 1:
            ReadAcl(data + 1, size - 1);
            break;
        default:
            NormalizeShareName(std::wstring(text.begin(), text.end()));
            break;
    }
    return 0;
}
