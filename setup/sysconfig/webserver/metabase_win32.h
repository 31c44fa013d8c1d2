// The directory-service objects of the web server reached through the "IISNamespace" provider by
// late binding. Wine has no such provider: opening the namespace fails there.
#pragma once

#include "setup/sysconfig/webserver/metabase.h"

namespace setup::sysconfig::webserver {

class Win32Metabase : public IMetabase
{
public:
    std::unique_ptr<IMetabaseObject> OpenNamespace() override;
};

}  // namespace setup::sysconfig::webserver
