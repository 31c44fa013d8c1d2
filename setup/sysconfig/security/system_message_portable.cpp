// Without Windows there is no message table: the code stands for itself.
#include <string>

#include "setup/sysconfig/security/basic_object.h"

namespace setup::sysconfig::security {

std::string SystemMessageText(std::uint32_t code)
{
    return "Error " + std::to_string(code);
}

}  // namespace setup::sysconfig::security
