// Cipherkit.dll as its callers use it: loaded at run time, every export bound by name.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/unique_handle.h"
#include "support/cipher/tests/hex.h"

namespace {

using cipher::test::ToHex;

class CipherkitDll : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_module.Reset(::LoadLibraryW(L"Cipherkit.dll"));
        ASSERT_TRUE(m_module) << "Cipherkit.dll not found beside the test";
    }

    template <typename F>
    F Bind(const char* name)
    {
        auto proc = reinterpret_cast<F>(::GetProcAddress(m_module.Get(), name));
        EXPECT_NE(proc, nullptr) << name;
        return proc;
    }

    core::UniqueModule m_module;
};

using EncryptB64KeyFn = char*(WINAPI*)(const char*, UINT, const char*, UINT);
using DecryptB64KeyFn = char*(WINAPI*)(const char*, UINT, const char*, UINT);
using ResParamFn = int(WINAPI*)(const char*, UINT, const char*, UINT, char*);
using VKeyResParamFn = int(WINAPI*)(const char*, UINT, char*);
using DecryptVKeyFn = char*(WINAPI*)(const char*, UINT);
using DigestFn = BYTE*(WINAPI*)(const BYTE*, UINT);
using ExpandFn = BYTE*(WINAPI*)(const BYTE*, UINT, UINT);

TEST_F(CipherkitDll, BindsEveryExportByName)
{
    const char* names[] = {"VNTEncryptStringBlowfish",
                           "VNTDecryptStringBlowfish",
                           "VNTEncryptStringBlowfishB64",
                           "VNTEncryptStringBlowfishB64Key",
                           "VNTEncryptStringBlowfishB64KeyResParam",
                           "VNTEncryptStringBlowfishB64VKeyResParam",
                           "VNTDecryptStringBlowfishB64",
                           "VNTDecryptStringBlowfishB64Key",
                           "VNTDecryptStringBlowfishB64VKey",
                           "SHA1Hash",
                           "VNTExpand",
                           "MD5Hash"};
    for (const char* name : names)
        EXPECT_NE(::GetProcAddress(m_module.Get(), name), nullptr) << name;
}

TEST_F(CipherkitDll, DigestsAndExpansion)
{
    auto sha1 = Bind<DigestFn>("SHA1Hash");
    auto md5 = Bind<DigestFn>("MD5Hash");
    auto expand = Bind<ExpandFn>("VNTExpand");
    const BYTE abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(ToHex(sha1(abc, 3), 20), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(ToHex(md5(reinterpret_cast<const BYTE*>(""), 0), 16),
              "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(ToHex(expand(abc, 3, 20), 20), "a9993e364706816aba3e25717850c26c9cd0d89d");
}

TEST_F(CipherkitDll, ZeroLengthsMeanZeroTerminatedOrEmpty)
{
    auto encrypt = Bind<EncryptB64KeyFn>("VNTEncryptStringBlowfishB64Key");
    auto decrypt = Bind<DecryptB64KeyFn>("VNTDecryptStringBlowfishB64Key");
    auto resParam = Bind<ResParamFn>("VNTEncryptStringBlowfishB64KeyResParam");

    // Encrypting: 0 stands for the zero-terminated lengths.
    EXPECT_STREQ(encrypt("Hello, world!", 0, "secret", 0),
                 encrypt("Hello, world!", 13, "secret", 6));
    char out[64];
    std::memset(out, 'x', sizeof(out));
    EXPECT_EQ(resParam("Hello, world!", 14, "secret", 6, out), 1);
    EXPECT_STREQ(out, "zRVRuitE6BgijicfUTSMxA==");

    // Decrypting: lengths are taken as given, so 0 is an empty pass phrase.
    const char* withEmptyPass = encrypt("Hello, world!", 14, "", 0);
    const char* text = decrypt(withEmptyPass, UINT(std::strlen(withEmptyPass)), "ignored", 0);
    EXPECT_STREQ(text, "Hello, world!");
}

TEST_F(CipherkitDll, MachinePassPhraseIsTheSystemDriveSerial)
{
    auto encryptV = Bind<VKeyResParamFn>("VNTEncryptStringBlowfishB64VKeyResParam");
    auto decryptV = Bind<DecryptVKeyFn>("VNTDecryptStringBlowfishB64VKey");
    auto encrypt = Bind<EncryptB64KeyFn>("VNTEncryptStringBlowfishB64Key");

    char system[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryA(system, MAX_PATH), 0u);
    const char root[] = {system[0], ':', '\\', '\0'};
    DWORD serial = 0;
    ASSERT_TRUE(::GetVolumeInformationA(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
    char passPhrase[9];
    std::snprintf(passPhrase, sizeof(passPhrase), "%lX", static_cast<unsigned long>(serial));

    char out[64] = {};
    EXPECT_EQ(encryptV("machine secret", 0, out), 1);
    EXPECT_STREQ(out, encrypt("machine secret", 0, passPhrase, 0));
    EXPECT_STREQ(decryptV(out, UINT(std::strlen(out))), "machine secret");
}

}  // namespace
