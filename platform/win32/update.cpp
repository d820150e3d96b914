// Download, signature and renames of the online update. WinHTTP rather than
// URLDownloadToFileW: the latter saves an HTTP error page as if it were the
// file. (<winhttp.h> cannot share a file with <wininet.h>.)
#include "platform/win32/win32.h"

#include "platform/platform.h"

#include <algorithm>

#include <bcrypt.h>
#include <wincrypt.h>
#include <winhttp.h>

namespace {

struct Internet {
    HINTERNET handle = nullptr;
    ~Internet() {
        if (handle) WinHttpCloseHandle(handle);
    }
};

bool ReceiveAll(HINTERNET request, std::string& bytes, size_t limit) {
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request, &available)) return false;
        if (available == 0) return true;
        if (bytes.size() + available > limit) return false;
        size_t at = bytes.size();
        bytes.resize(at + available);
        DWORD got = 0;
        if (!WinHttpReadData(request, bytes.data() + at, available, &got)) return false;
        bytes.resize(at + got);
    }
}

std::string Sha256(std::string_view data) {
    std::string digest(32, '\0');
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0)
        return {};
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool ok = BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0;
    for (size_t done = 0; ok && done < data.size();) {
        ULONG chunk = ULONG(std::min<size_t>(data.size() - done, 1u << 30));
        ok = BCryptHashData(hash, PUCHAR(data.data() + done), chunk, 0) == 0;
        done += chunk;
    }
    ok = ok && BCryptFinishHash(hash, PUCHAR(digest.data()), 32, 0) == 0;
    if (hash) BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    return ok ? digest : std::string();
}

} // namespace

namespace platform {

using win32::Widen;

bool Download(const std::string& url, std::string& bytes, size_t limit) {
    bytes.clear();
    std::wstring address = Widen(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = DWORD(-1);
    if (!WinHttpCrackUrl(address.c_str(), 0, 0, &parts)) return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTPS && parts.nScheme != INTERNET_SCHEME_HTTP)
        return false;
    std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);
    Internet session, connection, request;
    session.handle = WinHttpOpen(L"Lumafind", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                 WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session.handle) return false;
    WinHttpSetTimeouts(session.handle, 15000, 15000, 30000, 60000);
    connection.handle = WinHttpConnect(session.handle, host.c_str(), parts.nPort, 0);
    if (!connection.handle) return false;
    DWORD flags = WINHTTP_FLAG_REFRESH;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= WINHTTP_FLAG_SECURE;
    request.handle = WinHttpOpenRequest(connection.handle, L"GET", path.c_str(), nullptr,
                                        WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
    if (!request.handle) return false;
    if (!WinHttpSendRequest(request.handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.handle, nullptr))
        return false;
    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(request.handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                             WINHTTP_NO_HEADER_INDEX) ||
        status != 200)
        return false;
    bool whole = ReceiveAll(request.handle, bytes, limit);
    // A connection cut short ends the body early without an error.
    DWORD length = 0;
    size = sizeof length;
    if (whole && WinHttpQueryHeaders(
                     request.handle, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                     WINHTTP_HEADER_NAME_BY_INDEX, &length, &size, WINHTTP_NO_HEADER_INDEX))
        whole = length == bytes.size();
    if (!whole) bytes.clear();
    return whole;
}

bool VerifySignature(const std::string& publicKey, std::string_view data,
                     std::string_view signature) {
    if (signature.size() != 64) return false;
    std::string digest = Sha256(data);
    if (digest.empty()) return false;
    CERT_PUBLIC_KEY_INFO* info = nullptr;
    DWORD infoSize = 0;
    if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO,
                             reinterpret_cast<const BYTE*>(publicKey.data()),
                             DWORD(publicKey.size()), CRYPT_DECODE_ALLOC_FLAG, nullptr, &info,
                             &infoSize))
        return false;
    BCRYPT_KEY_HANDLE key = nullptr;
    bool imported = CryptImportPublicKeyInfoEx2(X509_ASN_ENCODING, info, 0, nullptr, &key);
    LocalFree(info);
    if (!imported) return false;
    NTSTATUS result = BCryptVerifySignature(key, nullptr, PUCHAR(digest.data()), 32,
                                            PUCHAR(signature.data()), 64, 0);
    BCryptDestroyKey(key);
    return result == 0;
}

bool MoveFileTo(const std::string& from, const std::string& to) {
    return MoveFileExW(win32::ExtendedPath(from).c_str(), win32::ExtendedPath(to).c_str(),
                       MOVEFILE_WRITE_THROUGH) != 0;
}

bool StartProgramAfterExit(const std::string& path) {
    SetEnvironmentVariableW(L"LUMAFIND_WAIT_FOR", std::to_wstring(GetCurrentProcessId()).c_str());
    return StartProgram(path, "");
}

} // namespace platform
