#include "decode.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <vector>

#include <tqlm/base64.h>
#include <tqlm/text.h>
#include <tqlm/error.h>

namespace tqlm::cli {

namespace {

namespace stdfs = std::filesystem;

// Documents the tool writes: x<code>0 and xConversionCodes in Base64,
// x<code>0.XML and xConversionCodes.XML as text.
bool IsDocument(const stdfs::path& file) {
  const std::string name = file.filename().string();
  if (name.empty() || name[0] != 'x') return false;
  return file.extension().empty() || file.extension() == ".XML";
}

bool IsBase64Text(const std::string& bytes) {
  if (bytes.empty()) return false;
  for (unsigned char ch : bytes) {
    const bool alphabet = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
                          ch == '+' || ch == '/' || ch == '=' || ch == '\r' || ch == '\n';
    if (!alphabet) return false;
  }
  return true;
}

std::string Read(const stdfs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A document's text opens with its first element's tag and holds no NUL.
bool IsDocumentText(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  return first != std::string::npos && text[first] == '<' && text.find('\0') == std::string::npos;
}

// The XML text of a document of this tool: a Base64 document decoded, a
// text document as it is; nothing for any other file.
std::optional<std::string> DocumentText(const stdfs::path& file) {
  std::string text = Read(file);
  if (IsBase64Text(text)) {
    try {
      text = Decode_Base64(text);
    } catch (const Raised&) {
      return std::nullopt;
    }
  }
  if (!IsDocumentText(text)) return std::nullopt;
  return text;
}

std::string Shown(const std::string& text, bool utf8) {
  if (!utf8) return text;
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + AnsiToUtf8(text);
}

// Why --out cannot be the folder the documents go below: it, or the nearest
// part of it that exists, is not a folder.
std::optional<std::string> OutProblem(const stdfs::path& out) {
  std::error_code error;
  for (stdfs::path part = out; !part.empty(); part = part.parent_path()) {
    const stdfs::file_status status = stdfs::status(part, error);
    if (stdfs::exists(status)) {
      if (stdfs::is_directory(status)) return std::nullopt;
      return "decode: --out " + out.string() + ": " + part.string() + " is a file, not a folder";
    }
    if (part == part.parent_path()) break;
  }
  return std::nullopt;
}

}  // namespace

int Decode(const Options& o) {
  if (o.out)
    if (auto problem = OutProblem(*o.out)) return UsageError(*problem);
  // Each document with the path it goes to below --out.
  std::vector<std::pair<stdfs::path, stdfs::path>> documents;
  try {
    for (const std::string& argument : o.positional) {
      const stdfs::path path(argument);
      std::error_code error;
      if (stdfs::is_directory(path, error)) {
        for (const auto& entry : stdfs::recursive_directory_iterator(path, error))
          if (entry.is_regular_file() && IsDocument(entry.path()))
            documents.emplace_back(entry.path(), stdfs::relative(entry.path(), path));
      } else if (stdfs::is_regular_file(path, error)) {
        documents.emplace_back(path, path.filename());
      } else {
        return UsageError("decode: " + argument + " is no file or folder");
      }
    }
    // Every file is a document, or nothing is printed or written.
    for (const auto& document : documents)
      if (!DocumentText(document.first))
        return UsageError("decode: " + document.first.string() +
                          " is no document of this tool (a Base64 document or an .XML document)");
    for (const auto& [file, relative] : documents) {
      const std::string text = Shown(*DocumentText(file), o.utf8);
      if (o.out) {
        stdfs::path target = stdfs::path(*o.out) / relative;
        target += ".xml";
        stdfs::create_directories(target.parent_path());
        std::ofstream out(target, std::ios::binary);
        out << text;
        if (!out) throw std::runtime_error("cannot write " + target.string());
      } else {
        if (documents.size() > 1) std::cout << "==> " << file.string() << " <==\n";
        std::cout << text << (documents.size() > 1 ? "\n" : "");
      }
    }
  } catch (const std::exception& e) {
    std::cerr << "tqlm-xmlgen: decode: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace tqlm::cli
