#include "shred/snapshots/volume_control.h"

#include <cstdio>

namespace shred::snapshots {

std::string NtStatusText(std::uint32_t status)
{
    switch (status) {
        case kStatusSuccess:
            return "STATUS_SUCCESS\n\n";
        case kStatusInvalidHandle:
            return "STATUS_INVALID_HANDLE\n\n";
        case kStatusInvalidParameter:
            return "STATUS_INVALID_PARAMETER\n\n";
        case kStatusInvalidDeviceRequest:
            return "STATUS_INVALID_DEVICE_REQUEST\n\n";
        case kStatusAlreadyCommitted:
            return "STATUS_ALREADY_COMMITTED\n\n";
        case 0xC0000023:
            return "STATUS_BUFFER_TOO_SMALL\n\n";
        case 0xC0000056:
            return "STATUS_DELETE_PENDING\n\n";
        default: {
            char text[24];
            std::snprintf(text, sizeof text, "0x%08x\n\n", status);
            return text;
        }
    }
}

}  // namespace shred::snapshots
