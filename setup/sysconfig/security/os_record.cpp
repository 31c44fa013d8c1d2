#include "setup/sysconfig/security/os_record.h"

namespace setup::sysconfig::security {

namespace {

OsEdition Edition9x(std::uint32_t major, std::uint32_t minor, std::uint32_t build)
{
    if (major < 4)
        return OsEdition::None;
    if (major > 4)
        return OsEdition::Windows9xNew;
    if (minor < 10)
        return build > 1000 ? OsEdition::Windows95Osr2 : OsEdition::Windows95;
    if (minor == 10) {
        if (build > 2700)
            return OsEdition::WindowsMe;
        return build > 2000 ? OsEdition::Windows98Se : OsEdition::Windows98;
    }
    return minor <= 90 ? OsEdition::WindowsMe : OsEdition::Windows9xNew;
}

OsEdition EditionNt(const OsVersionFacts& facts)
{
    if (facts.major < 4)
        return OsEdition::WindowsNt3;
    if (facts.major == 4)
        return OsEdition::WindowsNt4;
    if (facts.major == 5) {
        if (facts.minor == 0)
            return OsEdition::Windows2000;
        if (facts.minor == 1)
            return OsEdition::WindowsXp;
        return facts.haveExtendedRecord && facts.productType == 1 ? OsEdition::WindowsXp
                                                                  : OsEdition::Windows2003;
    }
    if (facts.major == 6 && facts.minor == 0)
        return OsEdition::WindowsVista;
    return OsEdition::WindowsNtNew;
}

// The number behind "Service Pack " (from the 14th character on); non-digits count as 0.
std::uint32_t ServicePackFromText(const std::string& text)
{
    if (text.size() <= 13)
        return 0;
    std::uint32_t value = 0;
    for (std::size_t i = 13; i < text.size(); ++i) {
        const char c = text[i];
        value = value * 10 + (c >= '0' && c <= '9' ? static_cast<std::uint32_t>(c - '0') : 0);
    }
    return value;
}

}  // namespace

const char* OsEditionName(OsEdition edition)
{
    static const char* const names[] = {
        "None",       "Windows 95",     "Windows 95 OSR-2", "Windows 98",    "Windows 98 SE",
        "Windows ME", "Windows 9x New", "Windows NT 3",     "Windows NT 4",  "Windows 2000",
        "Windows XP", "Windows 2003",   "Windows Vista",    "Windows NT New"};
    const auto index = static_cast<std::size_t>(edition);
    return index < std::size(names) ? names[index] : names[0];
}

OsRecord DescribeOs(const OsVersionFacts& facts)
{
    OsRecord os;
    os.major = facts.major;
    os.minor = facts.minor;
    os.servicePackText = facts.servicePackText;
    os.is9x = facts.platformId == 1;
    os.isNt = facts.platformId == 2;
    os.build = os.is9x ? (facts.build & 0xFFFF) : facts.build;
    os.is64Bit = facts.nativeX64;
    if (os.is9x) {
        os.edition = Edition9x(os.major, os.minor, os.build);
        os.edition9x = static_cast<std::uint8_t>(os.edition);
    } else if (os.isNt) {
        os.edition = EditionNt(facts);
        os.editionNt = static_cast<std::uint8_t>(os.edition);
        os.servicePack = facts.haveExtendedRecord ? facts.servicePackMajor
                                                  : ServicePackFromText(facts.servicePackText);
    }
    os.description = OsEditionName(os.edition);
    if (os.isNt) {
        if (facts.serverR2)
            os.description += " R2";
        if (facts.tabletPc)
            os.description += " Tablet PC";
        if (facts.starter)
            os.description += " Starter";
        if (facts.mediaCenter && os.edition < OsEdition::WindowsVista)
            os.description += " Media Center";
        if (os.is64Bit)
            os.description += " x64";
        if (!os.servicePackText.empty())
            os.description += " " + os.servicePackText;
    }
    return os;
}

}  // namespace setup::sysconfig::security
