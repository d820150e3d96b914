// lumafind_index_probe.exe: a client that misbehaves on the running index's pipe, as another
// program of the same user might: a length past the limit, a message cut off by a hang-up, a
// body that is not a question. Each gets an error or is dropped, and the index goes on
// answering. Exit 0 when it does; each failure is one line on standard error.
#include "engine/index.h"

#include <windows.h>
#include <sddl.h>

namespace es {

namespace {

std::wstring UserSid() {
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return L"";
    char data[256];
    DWORD size = sizeof data;
    LPWSTR text = nullptr;
    std::wstring out;
    if (GetTokenInformation(token, TokenUser, data, size, &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(data)->User.Sid, &text)) {
        out = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return out;
}

HANDLE Connect() {
    std::wstring name = L"\\\\.\\pipe\\lumafind-index-" + UserSid();
    return CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

std::string Head(uint32_t length) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    return out;
}

bool Send(HANDLE pipe, const std::string& data) {
    DWORD n = 0;
    return WriteFile(pipe, data.data(), static_cast<DWORD>(data.size()), &n, nullptr) &&
           n == data.size();
}

// The answer's kind, or false when the index hung up without one.
bool Answer(HANDLE pipe, index::Answering& kind) {
    std::string all;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0)
        all.append(buffer, n);
    std::string body = all.size() >= 4 ? all.substr(4) : "";
    std::string_view text;
    return all.size() >= 4 && index::DecodeAnswer(body, kind, text);
}

int failures = 0;

void Expect(bool ok, const char* what) {
    if (ok) return;
    WriteError(std::string("index probe: ") + what);
    ++failures;
}

void RefusedWithError(const std::string& sent, const char* what) {
    HANDLE pipe = Connect();
    Expect(pipe != INVALID_HANDLE_VALUE, "no index to connect to");
    if (pipe == INVALID_HANDLE_VALUE) return;
    index::Answering kind{};
    Expect(Send(pipe, sent) && Answer(pipe, kind) && kind == index::Answering::Error, what);
    CloseHandle(pipe);
}

} // namespace

int Main(const std::vector<std::string>&) {
    RefusedWithError(Head(0xFFFFFFFFu), "a length past the limit got no error");
    RefusedWithError(Head(5) + "\x7Fjunk", "a body that is no question got no error");
    HANDLE pipe = Connect();
    if (pipe != INVALID_HANDLE_VALUE) {
        Send(pipe, Head(1000) + "cut");
        CloseHandle(pipe);
    }
    Expect(index::IndexCaughtUp(), "the index stopped answering after the bad clients");
    auto ignore = [](std::string_view) { return true; };
    Expect(index::AskIndex({"texas"}, FindRoots(), ignore) == index::Asked::Answered,
           "the index did not answer a query after the bad clients");
    return failures == 0 ? 0 : 1;
}

} // namespace es
