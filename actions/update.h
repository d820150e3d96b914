// Replacing the program file with a newer, signed release.
//
// The update address serves the program file; the same address followed by
// ".sig" serves its release note, three lines of text:
//
//     lumafind-release 1
//     version 4.44
//     signature <hex of the DER ECDSA P-256 signature>
//
// The signature is over the SHA-256 of the note's text before "signature"
// (both lines with their line ends) followed by the program file's bytes, so
// it vouches for the file and its version together.
#pragma once

#include <string>
#include <string_view>

// The compiled-in address, which LUMAFIND_UPDATE_URL replaces when set.
constexpr const char* DefaultUpdateAddress = "https://lumafind.org/update/lumafind.exe";
// Beside the program, this file's key (a DER SubjectPublicKeyInfo) is trusted
// instead of the compiled-in release key.
constexpr const char* ReleaseKeyFileName = "lumafind-release-key.der";

constexpr const char* UpdatingText = "Updating Lumafind";
constexpr const char* UpdateFailedText = "Lumafind Update Failed";
constexpr const char* UpdateNotGenuineText = "Lumafind Update Failed : Not A Genuine Release";
constexpr const char* UpdateNotInstalledText =
    "Lumafind Update Failed : Program File Left As It Was";
constexpr const char* UpToDateText = "Lumafind is up to date";
constexpr const char* UpdateDoneText = "Update successful. Restarting Lumafind.";
constexpr const char* UpdateCancelledText = "Update Cancelled";
constexpr const char* StarterMissingText = "Lumafind Update Failed : Starter Missing";
// Now and then during a long download: how far it has come.
constexpr const char* WaitingForServerText = "Waiting For The Update Server";
constexpr const char* DownloadedText = "Downloaded ";
constexpr const char* PercentText = " percent";

// Started as the program ends after an update; it brings the new program up.
constexpr const char* StarterFileName = "start_lumafind.exe";
// Tests shorten the download's time limits with "connect,read,whole" in
// milliseconds; a value can only shorten its limit, never lengthen it.
constexpr const char* TestLimitsVariable = "LUMAFIND_UPDATE_TEST_LIMITS";

struct ReleaseNote {
    std::string version;
    std::string signedHead; // the text the signature covers before the file
    std::string signature;  // r then s, 32 bytes each
};
// False when the text is not a release note of this form.
bool ParseReleaseNote(std::string_view text, ReleaseNote& note);
// Dotted decimal versions compared number by number ("4.5" < "4.43");
// negative, 0 or positive.
int CompareVersions(std::string_view a, std::string_view b);
// The DER form openssl writes into the fixed r-then-s form; false when it is
// not an ECDSA P-256 signature.
bool RawSignatureFromDer(std::string_view der, std::string& raw);

std::string UpdateAddress();
void UpdateProgram();
