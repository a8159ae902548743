// Text inside the component is single-byte Windows-1252: conversion from and
// to UTF-8 for what a caller reads or writes elsewhere.
#pragma once

#include <string>
#include <string_view>

namespace tqlm {

// A character without a Windows-1252 form becomes "?"; so does every byte of
// a malformed UTF-8 sequence.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

}  // namespace tqlm
