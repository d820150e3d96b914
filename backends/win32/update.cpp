// Download, signature and renames of the online update. WinHTTP rather than
// URLDownloadToFileW: the latter saves an HTTP error page as if it were the
// file. (<winhttp.h> cannot share a file with <wininet.h>.)
#include "backends/win32/win32.h"

#include "platform/platform.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

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

// One download, shared by the window's thread and the worker that does the
// network work. The window's thread may stop waiting at any moment (a time
// limit, Esc, a close); the worker then notices `stop` or its own WinHTTP
// time limits and ends by itself, touching nothing but this record.
struct Transfer {
    std::wstring url;
    size_t limit = 0;
    platform::DownloadLimits limits;
    std::atomic<bool> stop{false}, done{false};
    std::atomic<int> phase{0}; // 0 connecting, 1 waiting for the answer, 2 receiving
    std::atomic<uint64_t> received{0}, expected{0};
    std::atomic<ULONGLONG> lastActivity{0};
    platform::DownloadOutcome outcome = platform::DownloadOutcome::Failed; // set before done
    std::string bytes;                                                     // likewise
};

platform::DownloadOutcome Failure() {
    return GetLastError() == ERROR_WINHTTP_TIMEOUT ? platform::DownloadOutcome::TimedOut
                                                   : platform::DownloadOutcome::Failed;
}

DWORD Milliseconds(int64_t ms) {
    return DWORD(std::clamp<int64_t>(ms, 1, 0x7fffffff));
}

platform::DownloadOutcome Fetch(Transfer& t) {
    using platform::DownloadOutcome;
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = DWORD(-1);
    if (!WinHttpCrackUrl(t.url.c_str(), 0, 0, &parts)) return DownloadOutcome::Failed;
    if (parts.nScheme != INTERNET_SCHEME_HTTPS && parts.nScheme != INTERNET_SCHEME_HTTP)
        return DownloadOutcome::Failed;
    std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);
    Internet session, connection, request;
    session.handle = WinHttpOpen(L"Lumafind", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                 WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session.handle) return DownloadOutcome::Failed;
    DWORD connect = Milliseconds(t.limits.connectMs), read = Milliseconds(t.limits.readMs);
    WinHttpSetTimeouts(session.handle, int(connect), int(connect), int(read), int(read));
    connection.handle = WinHttpConnect(session.handle, host.c_str(), parts.nPort, 0);
    if (!connection.handle) return DownloadOutcome::Failed;
    DWORD flags = WINHTTP_FLAG_REFRESH;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= WINHTTP_FLAG_SECURE;
    request.handle = WinHttpOpenRequest(connection.handle, L"GET", path.c_str(), nullptr,
                                        WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
    if (!request.handle) return DownloadOutcome::Failed;
    if (!WinHttpSendRequest(request.handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
        return Failure();
    t.lastActivity = GetTickCount64();
    t.phase = 1;
    if (!WinHttpReceiveResponse(request.handle, nullptr)) return Failure();
    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(request.handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                             WINHTTP_NO_HEADER_INDEX) ||
        status != 200)
        return DownloadOutcome::Failed;
    DWORD length = 0;
    size = sizeof length;
    bool announced = WinHttpQueryHeaders(
        request.handle, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
        WINHTTP_HEADER_NAME_BY_INDEX, &length, &size, WINHTTP_NO_HEADER_INDEX);
    if (announced && length > t.limit) return DownloadOutcome::Failed;
    if (announced) t.expected = length;
    t.lastActivity = GetTickCount64();
    t.phase = 2;
    std::string bytes;
    for (;;) {
        if (t.stop) return DownloadOutcome::Cancelled;
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request.handle, &available)) return Failure();
        if (available == 0) break;
        if (bytes.size() + available > t.limit) return DownloadOutcome::Failed;
        size_t at = bytes.size();
        bytes.resize(at + available);
        DWORD got = 0;
        if (!WinHttpReadData(request.handle, bytes.data() + at, available, &got)) return Failure();
        bytes.resize(at + got);
        t.received = bytes.size();
        t.lastActivity = GetTickCount64();
    }
    // A connection cut short ends the body early without an error.
    if (announced && length != bytes.size()) return DownloadOutcome::Failed;
    t.bytes = std::move(bytes);
    return DownloadOutcome::Finished;
}

// Keys typed meanwhile are dropped as in the engine's wait, except Esc and
// Alt+F4; a close asked for by the system menu or the frame is noted too.
enum class Request { None, Cancel, Close };

Request PumpWhileDownloading() {
    using platform::win32::Win;
    Request request = Win.closeRequested ? Request::Close : Request::None;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && request == Request::None)
            request = Request::Cancel;
        if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4) request = Request::Close;
    }
    while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        request = Request::Close;
    while (PeekMessageW(&msg, nullptr, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) {
        if ((msg.wParam & 0xFFF0) == SC_CLOSE)
            request = Request::Close;
        else
            DispatchMessageW(&msg);
    }
    // The frame's buttons and edges work as usual; a click on its close
    // button comes back as WM_CLOSE, which only notes the request.
    while (PeekMessageW(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE))
        DispatchMessageW(&msg);
    while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageW(&msg);
    if (Win.closeRequested) request = Request::Close;
    return request;
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

DownloadOutcome Download(const std::string& url, std::string& bytes, size_t limit,
                         const DownloadLimits& limits, const DownloadProgressReport& progress) {
    bytes.clear();
    auto transfer = std::make_shared<Transfer>();
    transfer->url = Widen(url);
    transfer->limit = limit;
    transfer->limits = limits;
    const ULONGLONG start = GetTickCount64();
    transfer->lastActivity = start;
    try {
        std::thread([transfer] {
            transfer->outcome = Fetch(*transfer);
            transfer->done.store(true, std::memory_order_release);
        }).detach();
    } catch (...) {
        return DownloadOutcome::Failed;
    }
    win32::Win.downloadWaiting = true;
    win32::Win.closeRequested = false;
    struct EndWait {
        std::shared_ptr<Transfer> transfer;
        ~EndWait() {
            transfer->stop = true;
            win32::Win.downloadWaiting = false;
            win32::Win.closeRequested = false;
        }
    } endWait{transfer};
    ULONGLONG lastReport = start;
    for (;;) {
        if (transfer->done.load(std::memory_order_acquire)) {
            if (transfer->outcome == DownloadOutcome::Finished) bytes = std::move(transfer->bytes);
            return transfer->outcome;
        }
        Request request = PumpWhileDownloading();
        if (request == Request::Close) return DownloadOutcome::ClosedByUser;
        if (request == Request::Cancel) return DownloadOutcome::Cancelled;
        const ULONGLONG now = GetTickCount64();
        const int phase = transfer->phase;
        const int64_t quiet = int64_t(now - transfer->lastActivity);
        if (int64_t(now - start) >= limits.wholeMs ||
            quiet >= (phase == 0 ? limits.connectMs : limits.readMs))
            return DownloadOutcome::TimedOut;
        if (progress && now - lastReport >= 250) {
            lastReport = now;
            DownloadProgress report;
            report.answered = phase == 2;
            report.received = transfer->received;
            report.expected = transfer->expected;
            report.elapsedMs = int64_t(now - start);
            progress(report);
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 15, QS_ALLINPUT, 0);
    }
}

bool IsStartableProgram(const std::string& path) {
    HANDLE file = CreateFileW(win32::ExtendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    auto readAt = [file](LONG offset, void* into, DWORD size) {
        DWORD got = 0;
        return SetFilePointer(file, offset, nullptr, FILE_BEGIN) == DWORD(offset) &&
               ReadFile(file, into, size, &got, nullptr) && got == size;
    };
    IMAGE_DOS_HEADER dos{};
    DWORD signature = 0;
    bool program = readAt(0, &dos, sizeof dos) && dos.e_magic == IMAGE_DOS_SIGNATURE &&
                   dos.e_lfanew > 0 && dos.e_lfanew < 0x10000000 &&
                   readAt(dos.e_lfanew, &signature, sizeof signature) &&
                   signature == IMAGE_NT_SIGNATURE;
    CloseHandle(file);
    return program;
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
