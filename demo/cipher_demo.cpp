// Cipherkit: digests, pass-phrase encryption and the machine pass phrase on sample text.
#include <cstring>

#include "demo/demo_library.h"

namespace demo {
namespace {

void PrintHex(const char* label, const BYTE* bytes, size_t length)
{
    std::printf("  %-30s ", label);
    for (size_t i = 0; i < length; ++i)
        std::printf("%02x", bytes[i]);
    std::printf("\n");
}

}  // namespace

bool RunCipherDemo()
{
    DemoLibrary library(L"Cipherkit.dll");
    if (!library.Loaded())
        return false;
    auto sha1 = library.Bind<BYTE*(WINAPI*)(const BYTE*, UINT)>("SHA1Hash");
    auto md5 = library.Bind<BYTE*(WINAPI*)(const BYTE*, UINT)>("MD5Hash");
    auto encrypt = library.Bind<char*(WINAPI*)(const char*, UINT, const char*, UINT)>(
        "VNTEncryptStringBlowfishB64Key");
    auto decrypt = library.Bind<char*(WINAPI*)(const char*, UINT, const char*, UINT)>(
        "VNTDecryptStringBlowfishB64Key");
    auto encryptMachine = library.Bind<int(WINAPI*)(const char*, UINT, char*)>(
        "VNTEncryptStringBlowfishB64VKeyResParam");
    auto decryptMachine =
        library.Bind<char*(WINAPI*)(const char*, UINT)>("VNTDecryptStringBlowfishB64VKey");
    if (!sha1 || !md5 || !encrypt || !decrypt || !encryptMachine || !decryptMachine) {
        std::printf("  an export is missing\n");
        return false;
    }

    const char sample[] = "Shred it before it spreads.";
    const UINT length = UINT(std::strlen(sample));
    std::printf("  %-30s \"%s\"\n", "sample text", sample);
    PrintHex("SHA1Hash", sha1(reinterpret_cast<const BYTE*>(sample), length), 20);
    PrintHex("MD5Hash", md5(reinterpret_cast<const BYTE*>(sample), length), 16);

    // The terminating zero travels with the text, so the decrypted buffer is a C string again.
    const char* enciphered = encrypt(sample, length + 1, "correct horse", 0);
    const char* deciphered =
        decrypt(enciphered, UINT(std::strlen(enciphered)), "correct horse", 13);
    std::printf("  %-30s %s\n", "with pass phrase", enciphered);
    std::printf("  %-30s \"%s\"\n", "decrypted", deciphered);

    char machineText[128] = {};
    encryptMachine(sample, length + 1, machineText);
    const char* machinePlain = decryptMachine(machineText, UINT(std::strlen(machineText)));
    std::printf("  %-30s %s\n", "with machine pass phrase", machineText);
    std::printf("  %-30s \"%s\"\n", "decrypted", machinePlain);
    return std::strcmp(deciphered, sample) == 0 && std::strcmp(machinePlain, sample) == 0;
}

}  // namespace demo
