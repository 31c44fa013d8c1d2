// Cipherkit.dll: thin exports over the string cipher operations. Nothing here throws and no
// export reports a failure beyond a null buffer when memory runs out.
#include "support/cipher/cipherkit_exports.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "support/cipher/machine_volume_win32.h"
#include "support/cipher/string_cipher.h"

namespace {

std::string_view Text(const char* text, UINT length) noexcept
{
    return text ? std::string_view(text, length) : std::string_view();
}

// A length of 0 stands for the zero-terminated length.
UINT LengthOrTerminated(const char* text, UINT length) noexcept
{
    return length == 0 && text ? static_cast<UINT>(std::strlen(text)) : length;
}

std::string MachinePassPhrase() noexcept
{
    try {
        cipher::Win32MachineVolume volume;
        return cipher::MachinePassPhrase(volume);
    } catch (...) {
        return "0";
    }
}

int CopyResult(char* text, char* out) noexcept
{
    if (out)
        std::strcpy(out, text ? text : "");
    std::free(text);
    return 1;
}

const BYTE* Bytes(const char* text) noexcept
{
    return reinterpret_cast<const BYTE*>(text);
}

}  // namespace

extern "C" {

BYTE* WINAPI VNTEncryptStringBlowfish(const BYTE* data, const BYTE* key, UINT n)
{
    return cipher::EncryptBlowfish(data, key, n);
}

char* WINAPI VNTDecryptStringBlowfish(const BYTE* data, const BYTE* key, UINT n)
{
    return reinterpret_cast<char*>(cipher::DecryptBlowfish(data, key, n));
}

char* WINAPI VNTEncryptStringBlowfishB64(const BYTE* data, const BYTE* key, UINT n)
{
    return cipher::EncryptBlowfishBase64(data, key, n);
}

char* WINAPI VNTEncryptStringBlowfishB64Key(const char* data, UINT n, const char* passPhrase,
                                            UINT passLength)
{
    return cipher::EncryptBlowfishBase64(
        Bytes(data), LengthOrTerminated(data, n),
        Text(passPhrase, LengthOrTerminated(passPhrase, passLength)));
}

int WINAPI VNTEncryptStringBlowfishB64KeyResParam(const char* data, UINT n, const char* passPhrase,
                                                  UINT passLength, char* out)
{
    return CopyResult(VNTEncryptStringBlowfishB64Key(data, n, passPhrase, passLength), out);
}

int WINAPI VNTEncryptStringBlowfishB64VKeyResParam(const char* data, UINT n, char* out)
{
    const std::string passPhrase = MachinePassPhrase();
    return CopyResult(
        cipher::EncryptBlowfishBase64(Bytes(data), LengthOrTerminated(data, n), passPhrase), out);
}

char* WINAPI VNTDecryptStringBlowfishB64(const char* base64, const BYTE* key, UINT n)
{
    return reinterpret_cast<char*>(cipher::DecryptBlowfishBase64(base64, key, n));
}

char* WINAPI VNTDecryptStringBlowfishB64Key(const char* base64, UINT n, const char* passPhrase,
                                            UINT passLength)
{
    return reinterpret_cast<char*>(
        cipher::DecryptBlowfishBase64(base64, n, Text(passPhrase, passLength)));
}

char* WINAPI VNTDecryptStringBlowfishB64VKey(const char* base64, UINT n)
{
    const std::string passPhrase = MachinePassPhrase();
    return reinterpret_cast<char*>(cipher::DecryptBlowfishBase64(base64, n, passPhrase));
}

BYTE* WINAPI SHA1Hash(const BYTE* data, UINT n)
{
    return cipher::Sha1Hash(data, n);
}

BYTE* WINAPI VNTExpand(const BYTE* seed, UINT seedLength, UINT outLength)
{
    return cipher::Expand(seed, seedLength, outLength);
}

BYTE* WINAPI MD5Hash(const BYTE* data, UINT n)
{
    return cipher::Md5Hash(data, n);
}

}  // extern "C"
