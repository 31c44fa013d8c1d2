// The exports of Cipherkit.dll. Every buffer they return comes from the library's own heap and is
// never released by the caller through this library.
#pragma once

#include <windows.h>

extern "C" {
BYTE* WINAPI VNTEncryptStringBlowfish(const BYTE* data, const BYTE* key, UINT n);
char* WINAPI VNTDecryptStringBlowfish(const BYTE* data, const BYTE* key, UINT n);
char* WINAPI VNTEncryptStringBlowfishB64(const BYTE* data, const BYTE* key, UINT n);
char* WINAPI VNTEncryptStringBlowfishB64Key(const char* data, UINT n, const char* passPhrase,
                                            UINT passLength);
int WINAPI VNTEncryptStringBlowfishB64KeyResParam(const char* data, UINT n, const char* passPhrase,
                                                  UINT passLength, char* out);
int WINAPI VNTEncryptStringBlowfishB64VKeyResParam(const char* data, UINT n, char* out);
char* WINAPI VNTDecryptStringBlowfishB64(const char* base64, const BYTE* key, UINT n);
char* WINAPI VNTDecryptStringBlowfishB64Key(const char* base64, UINT n, const char* passPhrase,
                                            UINT passLength);
char* WINAPI VNTDecryptStringBlowfishB64VKey(const char* base64, UINT n);
BYTE* WINAPI SHA1Hash(const BYTE* data, UINT n);
BYTE* WINAPI VNTExpand(const BYTE* seed, UINT seedLength, UINT outLength);
BYTE* WINAPI MD5Hash(const BYTE* data, UINT n);
}
