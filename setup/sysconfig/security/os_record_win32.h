// The running Windows' own version facts, read once per call from the system.
#pragma once

#include "setup/sysconfig/security/os_record.h"

namespace setup::sysconfig::security {

OsVersionFacts ReadOsVersionFacts();
inline OsRecord CurrentOs()
{
    return DescribeOs(ReadOsVersionFacts());
}

}  // namespace setup::sysconfig::security
