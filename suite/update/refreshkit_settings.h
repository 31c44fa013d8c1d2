// What one process knows of its update checks: the caller's product, the last request and the
// fields of the last answer. An answer that lacks a field leaves the earlier value in place.
#pragma once

#include <string>

namespace update {

struct CRefreshkitSettings
{
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    void* callerData = nullptr;
    std::wstring productId;
    std::wstring productTitle;
    std::wstring installedVersion;
    std::wstring userName;
    std::wstring email;
    std::wstring company;

    std::wstring connectionError;
    std::wstring requestUrl;
    std::wstring answer;

    std::wstring version;
    int size = 0;
    std::wstring downloadUrl;
    std::wstring installerParameters = L"NULL";
    std::wstring installerFileName;
    std::wstring updateInfo;
    std::wstring updateStatus;
    std::wstring extendedInfo;
    std::wstring extendedInfo2;
    std::wstring releaseDate;
    std::wstring serverMessage;
    int httpStatus = -1;
    std::wstring postOkText;
    std::wstring postOkCaption;
    int postOkType = 0;
    std::wstring extendedInfoButtonText;
    std::wstring extendedInfoButtonLink;
    std::wstring localInstallerPath;
};

}  // namespace update
