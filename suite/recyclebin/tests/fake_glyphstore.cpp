// The suite's image library as the tests know it: GetBitmapId takes an 8-bit image name and
// answers the number of one of its five bitmaps, or -1 for any other name.
#include <windows.h>

#include <cstring>

extern "C" int __stdcall GetBitmapId(const char* name) noexcept
{
    static const char* const kNames[] = {"encryption_files_box", "recbin_bottom_shred",
                                         "shredding_recycle_bin", "blue_box_small",
                                         "summary_botton_fading"};
    for (int i = 0; i < 5; ++i)
        if (name && std::strcmp(name, kNames[i]) == 0)
            return i + 1;
    return -1;
}
