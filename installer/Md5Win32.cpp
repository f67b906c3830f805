#include "installer/Md5.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <string>

#include "platform/Handle.h"

namespace kiv {

namespace {

constexpr DWORD kChunkSize = 1024;
constexpr DWORD kDigestSize = 16;
constexpr std::size_t kDigestDigits = 2 * kDigestSize;

struct CryptContextTraits {
    using Type = HCRYPTPROV;
    static Type invalid() { return 0; }
    static void close(Type provider) { CryptReleaseContext(provider, 0); }
};

struct CryptHashTraits {
    using Type = HCRYPTHASH;
    static Type invalid() { return 0; }
    static void close(Type hash) { CryptDestroyHash(hash); }
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
    if (!CryptAcquireContextW(context.put(), nullptr, nullptr, PROV_RSA_FULL,
                              CRYPT_VERIFYCONTEXT)) {
        const DWORD error = GetLastError();
        std::printf("CryptAcquireContext failed: %d\n", errorCode(error));
        return;
    }
    CryptHash hash;
    if (!CryptCreateHash(context.get(), CALG_MD5, 0, 0, hash.put())) {
        const DWORD error = GetLastError();
        std::printf("CryptCreateHash failed: %d\n", errorCode(error));
        return;
    }

    BYTE chunk[kChunkSize];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk, kChunkSize, &got, nullptr)) {
            const DWORD error = GetLastError();
            std::printf("ReadFile failed: %d\n", errorCode(error));
            return;
        }
        if (got == 0)
            break;
        if (!CryptHashData(hash.get(), chunk, got, 0)) {
            const DWORD error = GetLastError();
            std::printf("CryptHashData failed: %d\n", errorCode(error));
            return;
        }
    }

    BYTE digest[kDigestSize];
    DWORD digestSize = kDigestSize;
    if (!CryptGetHashParam(hash.get(), HP_HASHVAL, digest, &digestSize, 0) ||
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
