#pragma once
// The radio's programming password: the last four bytes of its password block (480..495).
// The programmer only checks it; it never writes it.

#include <optional>
#include <string>

#include "link/frames.h"

namespace n27::link {

// The password held in a password block frame (frame bytes 16..19): single-byte characters up
// to the first 00 or FF, trailing blanks removed. Empty: the radio has no password.
std::string RadioPassword(const Bytes &frame);

// Accepted when the radio has no password or it equals the entered one exactly (case matters).
bool PasswordAccepted(const Bytes &frame, const std::string &entered);

// The entered password as the password dialog keeps it: trailing blanks removed, cut at NUL.
std::string CleanPassword(const std::string &typed);

// A password given as UTF-8 text (a command-line argument) in the radio's single-byte
// characters, as the password dialog takes it: each character up to U+00FE is one byte.
// Bytes that are not UTF-8 are taken as they stand (a terminal in a Latin-1 locale). nullopt
// and the reason for a character the radio cannot hold (above U+00FE, or U+00FF, which ends
// the radio's password).
std::optional<std::string> PasswordFromUtf8(const std::string &text, std::string &error);

}  // namespace n27::link
