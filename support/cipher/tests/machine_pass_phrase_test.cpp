#include "support/cipher/machine_pass_phrase.h"

#include <gtest/gtest.h>

namespace {

struct FakeVolume final : cipher::IMachineVolume
{
    std::string folder;
    std::optional<uint32_t> serial;
    std::string askedRoot;

    std::string SystemFolder() override { return folder; }
    std::optional<uint32_t> VolumeSerialNumber(const std::string& root) override
    {
        askedRoot = root;
        return serial;
    }
};

TEST(MachinePassPhrase, FormatsTheSystemDriveSerial)
{
    struct Case
    {
        std::string folder;
        std::optional<uint32_t> serial;
        std::string root;
        std::string passPhrase;
    };
    const Case cases[] = {
        {"C:\\Windows\\system32", 0x1A2B3C4D, "C:\\", "1A2B3C4D"},
        {"D:\\WINNT\\system32", 0x00000ABC, "D:\\", "ABC"},  // no leading zeros
        {"C:\\Windows\\system32", 0xFFFFFFFF, "C:\\", "FFFFFFFF"},
        {"C:\\Windows\\system32", std::nullopt, "C:\\", "0"},  // the query failed
        {"", 0x1234, "", "0"},
    };
    for (const auto& c : cases) {
        FakeVolume volume;
        volume.folder = c.folder;
        volume.serial = c.serial;
        EXPECT_EQ(cipher::MachinePassPhrase(volume), c.passPhrase) << c.folder;
        EXPECT_EQ(volume.askedRoot, c.root);
    }
}

}  // namespace
