#include "installer/Md5.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Handle.h"
#include "platform/SystemLibrary.h"

namespace kiv {

namespace {

// Large reads: under Wine every ReadFile is a round trip, and a VM pack is
// 100-200 MB. The digest does not depend on the read size.
constexpr DWORD kChunkSize = 64 * 1024;
constexpr DWORD kDigestSize = 16;
constexpr std::size_t kDigestDigits = 2 * kDigestSize;

// CryptoAPI lives in advapi32, bound at run time so that only the runs that
// check a pack load it. An unbound function fails like the call itself, with
// ERROR_PROC_NOT_FOUND as the last error.
namespace crypto {

BOOL CryptAcquireContextW(HCRYPTPROV* provider, LPCWSTR container, LPCWSTR providerName,
                          DWORD providerType, DWORD flags) {
    static const SystemFunction<decltype(&::CryptAcquireContextW)> function(
        advapi32Library(), "CryptAcquireContextW");
    // Acquiring a context loads the provider's DLL.
    return function.loadingCallOr(BOOL{FALSE}, provider, container, providerName, providerType,
                                  flags);
}

BOOL CryptReleaseContext(HCRYPTPROV provider, DWORD flags) {
    static const SystemFunction<decltype(&::CryptReleaseContext)> function(
        advapi32Library(), "CryptReleaseContext");
    return function.callOr(BOOL{FALSE}, provider, flags);
}

BOOL CryptCreateHash(HCRYPTPROV provider, ALG_ID algorithm, HCRYPTKEY key, DWORD flags,
                     HCRYPTHASH* hash) {
    static const SystemFunction<decltype(&::CryptCreateHash)> function(advapi32Library(),
                                                                       "CryptCreateHash");
    return function.callOr(BOOL{FALSE}, provider, algorithm, key, flags, hash);
}

BOOL CryptHashData(HCRYPTHASH hash, const BYTE* data, DWORD length, DWORD flags) {
    static const SystemFunction<decltype(&::CryptHashData)> function(advapi32Library(),
                                                                     "CryptHashData");
    return function.callOr(BOOL{FALSE}, hash, data, length, flags);
}

BOOL CryptGetHashParam(HCRYPTHASH hash, DWORD parameter, BYTE* data, DWORD* length,
                       DWORD flags) {
    static const SystemFunction<decltype(&::CryptGetHashParam)> function(advapi32Library(),
                                                                         "CryptGetHashParam");
    return function.callOr(BOOL{FALSE}, hash, parameter, data, length, flags);
}

BOOL CryptDestroyHash(HCRYPTHASH hash) {
    static const SystemFunction<decltype(&::CryptDestroyHash)> function(advapi32Library(),
                                                                        "CryptDestroyHash");
    return function.callOr(BOOL{FALSE}, hash);
}

}  // namespace crypto

struct CryptContextTraits {
    using Type = HCRYPTPROV;
    static Type invalid() { return 0; }
    static void close(Type provider) { crypto::CryptReleaseContext(provider, 0); }
};

struct CryptHashTraits {
    using Type = HCRYPTHASH;
    static Type invalid() { return 0; }
    static void close(Type hash) { crypto::CryptDestroyHash(hash); }
};

using CryptContext = UniqueResource<CryptContextTraits>;
using CryptHash = UniqueResource<CryptHashTraits>;

// The printed path is narrow, in the system code page, like the rest of the line.
std::string narrowPath(const wchar_t* path) {
    const int size = WideCharToMultiByte(CP_ACP, 0, path, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, path, -1, &narrow[0], size, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(size) - 1);
    return narrow;
}

int errorCode(DWORD error) {
    return static_cast<int>(error);
}

}  // namespace

void md5OfFile(const wchar_t* path, wchar_t* output, std::size_t outputCapacity) {
    if (path == nullptr || output == nullptr || outputCapacity <= kDigestDigits)
        return;

    // Declared in acquisition order, so a failure releases hash, context, file.
    FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        std::printf("Error opening file %s\nError: %d\n", narrowPath(path).c_str(),
                    errorCode(error));
        return;
    }
    CryptContext context;
    if (!crypto::CryptAcquireContextW(context.put(), nullptr, nullptr, PROV_RSA_FULL,
                                      CRYPT_VERIFYCONTEXT)) {
        const DWORD error = GetLastError();
        std::printf("CryptAcquireContext failed: %d\n", errorCode(error));
        return;
    }
    CryptHash hash;
    if (!crypto::CryptCreateHash(context.get(), CALG_MD5, 0, 0, hash.put())) {
        const DWORD error = GetLastError();
        std::printf("CryptCreateHash failed: %d\n", errorCode(error));
        return;
    }

    std::vector<BYTE> chunk(kChunkSize);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk.data(), kChunkSize, &got, nullptr)) {
            const DWORD error = GetLastError();
            std::printf("ReadFile failed: %d\n", errorCode(error));
            return;
        }
        if (got == 0)
            break;
        if (!crypto::CryptHashData(hash.get(), chunk.data(), got, 0)) {
            const DWORD error = GetLastError();
            std::printf("CryptHashData failed: %d\n", errorCode(error));
            return;
        }
    }

    BYTE digest[kDigestSize];
    DWORD digestSize = kDigestSize;
    if (!crypto::CryptGetHashParam(hash.get(), HP_HASHVAL, digest, &digestSize, 0) ||
        digestSize != kDigestSize) {
        const DWORD error = GetLastError();
        std::printf("CryptGetHashParam failed: %d\n", errorCode(error));
        return;
    }

    static const wchar_t digits[] = L"0123456789abcdef";
    for (DWORD i = 0; i < kDigestSize; ++i) {
        output[2 * i] = digits[digest[i] >> 4];
        output[2 * i + 1] = digits[digest[i] & 0x0F];
    }
    std::printf("\n");
}

}  // namespace kiv
