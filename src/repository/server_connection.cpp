#include "repository/server_connection.h"

#include <utility>
#include <vector>

#include "platform/codepage.h"
#include "platform/error.h"

namespace tqlm {

namespace {

constexpr const char* kErrorSource = "Repository";

// The driver FreeTDS registers itself under.
constexpr const char* kSqlServerDriver = "FreeTDS";

[[noreturn]] void Refuse(const std::string& utf8Message) {
  Raise(kErrRepository, kErrorSource, Utf8ToAnsi(utf8Message));
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
  return text.size() >= lowerPrefix.size() && Lower(text.substr(0, lowerPrefix.size())) == lowerPrefix;
}

struct Pair {
  std::string key;    // as written, trimmed
  std::string lower;  // for comparisons
  std::string value;  // without its quotes or braces
};

enum class Syntax { kOdbc, kAdo };

// "key=value;..." pairs. A value may be enclosed, and may then hold ";": in
// braces ("}}" stands for "}"), and in an ADO string also in double or
// single quotes (the quote doubled stands for itself).
std::vector<Pair> Pairs(std::string_view text, Syntax syntax) {
  std::vector<Pair> pairs;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t equals = text.find('=', i), semicolon = text.find(';', i);
    if (equals == std::string_view::npos || (semicolon != std::string_view::npos && semicolon < equals)) {
      // The text itself is not repeated: it may be part of a password.
      if (!Trim(text.substr(i, semicolon - i)).empty())
        Refuse("The connection string holds text that is not of the form keyword=value.");
      if (semicolon == std::string_view::npos) break;
      i = semicolon + 1;
      continue;
    }
    Pair pair;
    pair.key = std::string(Trim(text.substr(i, equals - i)));
    pair.lower = Lower(pair.key);
    i = equals + 1;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const char open = i < text.size() ? text[i] : '\0';
    if (open == '{' || (syntax == Syntax::kAdo && (open == '"' || open == '\''))) {
      const char close = open == '{' ? '}' : open;
      for (++i;; ++i) {
        if (i >= text.size()) Refuse("The value of " + pair.key + " in the connection string is not closed.");
        if (text[i] != close) {
          pair.value += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == close) {
          pair.value += close;
          ++i;
        } else {
          break;
        }
      }
      i = text.find(';', i);
      if (i == std::string_view::npos) i = text.size();
    } else {
      const std::size_t end = std::min(text.find(';', i), text.size());
      pair.value = std::string(Trim(text.substr(i, end - i)));
      i = end;
    }
    if (i < text.size()) ++i;  // the ";"
    if (!pair.key.empty()) pairs.push_back(std::move(pair));
  }
  return pairs;
}

// "key=value" for an ODBC string, the value in braces where it needs them.
void Append(std::string& odbc, std::string_view key, std::string_view value) {
  if (!odbc.empty()) odbc += ';';
  odbc.append(key).append("=");
  const bool braces = value.find_first_of(";{}=") != std::string_view::npos ||
                      (!value.empty() && (value.front() == ' ' || value.back() == ' '));
  if (!braces) {
    odbc.append(value);
    return;
  }
  odbc += '{';
  for (char c : value) {
    odbc += c;
    if (c == '}') odbc += '}';
  }
  odbc += '}';
}

std::string PasswordOf(const std::vector<Pair>& pairs) {
  for (const Pair& pair : pairs)
    if (pair.lower == "pwd" || pair.lower == "password") return pair.value;
  return {};
}

bool IsTrue(std::string_view value) {
  const std::string v = Lower(Trim(value));
  return v == "sspi" || v == "true" || v == "yes";
}

bool AnyOf(const std::string& lower, std::initializer_list<const char*> names) {
  for (const char* name : names)
    if (lower == name) return true;
  return false;
}

// Windows authentication has no counterpart here.
void RefuseIntegratedSecurity(const Pair& pair) {
  if (AnyOf(pair.lower, {"integrated security", "trusted_connection"}) && IsTrue(pair.value))
    Refuse(pair.key + "=" + pair.value +
           " (Windows authentication) cannot be used from this platform; give User ID and Password.");
}

// An ADO string of the SQL Server providers, for FreeTDS.
std::string FromSqlServerProvider(const std::vector<Pair>& pairs) {
  std::string odbc;
  Append(odbc, "Driver", kSqlServerDriver);
  for (const Pair& pair : pairs) {
    RefuseIntegratedSecurity(pair);
    const std::string& k = pair.lower;
    if (AnyOf(k, {"provider", "persist security info", "integrated security", "trusted_connection", "connect timeout",
                  "connection timeout", "auto translate", "use procedure for prepare", "packet size",
                  "network library", "network"})) {
      continue;  // no effect on a read through ODBC
    }
    if (AnyOf(k, {"data source", "server", "address", "addr", "network address"})) {
      std::string_view server = Trim(pair.value);
      if (StartsWithNoCase(server, "tcp:")) server.remove_prefix(4);
      if (server == "(local)" || server == ".") server = "localhost";
      const std::size_t comma = server.find(',');
      Append(odbc, "Server", Trim(server.substr(0, comma)));
      if (comma != std::string_view::npos) Append(odbc, "Port", Trim(server.substr(comma + 1)));
    } else if (AnyOf(k, {"initial catalog", "database"})) {
      Append(odbc, "Database", pair.value);
    } else if (AnyOf(k, {"user id", "uid", "user"})) {
      Append(odbc, "UID", pair.value);
    } else if (AnyOf(k, {"password", "pwd"})) {
      Append(odbc, "PWD", pair.value);
    } else if (k == "application name") {
      Append(odbc, "APP", pair.value);
    } else if (k == "workstation id") {
      Append(odbc, "WSID", pair.value);
    } else if (k == "encrypt") {
      if (IsTrue(pair.value)) Append(odbc, "Encryption", "require");
    } else {
      Refuse("The connection string keyword \"" + pair.key +
             "\" has no ODBC counterpart; give an ODBC string after \"odbc:\".");
    }
  }
  return odbc;
}

// Provider=MSDASQL: ADO's road to ODBC; the other keywords are ODBC's.
std::string FromOdbcProvider(const std::vector<Pair>& pairs) {
  std::string odbc;
  for (const Pair& pair : pairs) {
    RefuseIntegratedSecurity(pair);
    if (AnyOf(pair.lower, {"provider", "persist security info"})) continue;
    if (pair.lower == "user id") {
      Append(odbc, "UID", pair.value);
    } else if (pair.lower == "password") {
      Append(odbc, "PWD", pair.value);
    } else {
      Append(odbc, pair.key, pair.value);
    }
  }
  return odbc;
}

std::string ProviderOf(const std::vector<Pair>& pairs) {
  for (const Pair& pair : pairs)
    if (pair.lower == "provider") return Lower(Trim(pair.value));
  return {};
}

bool HasKey(const std::vector<Pair>& pairs, std::initializer_list<const char*> names) {
  for (const Pair& pair : pairs)
    if (AnyOf(pair.lower, names)) return true;
  return false;
}

}  // namespace

std::optional<ServerConnection> ServerConnectionFor(std::string_view connectionString) {
  const std::string_view text = Trim(connectionString);
  if (StartsWithNoCase(text, "sqlite:")) return std::nullopt;
  if (StartsWithNoCase(text, "odbc:")) {
    std::string odbc = AnsiToUtf8(Trim(text.substr(5)));
    if (odbc.empty()) Refuse("The connection string gives nothing after \"odbc:\".");
    return ServerConnection{odbc, PasswordOf(Pairs(odbc, Syntax::kOdbc))};
  }
  // A file name may hold "=" but not the keywords of a connection string.
  if (text.find('=') == std::string_view::npos) return std::nullopt;
  const std::string utf8 = AnsiToUtf8(text);
  std::vector<Pair> pairs;
  try {
    pairs = Pairs(utf8, Syntax::kAdo);
  } catch (const Raised&) {
    // An ODBC string whose quotes are characters, a file name, or a
    // connection string that cannot be read.
    const std::string lower = Lower(utf8);
    if (lower.find("provider=") == std::string::npos &&
        (lower.find("dsn=") != std::string::npos || lower.find("driver=") != std::string::npos)) {
      pairs = Pairs(utf8, Syntax::kOdbc);
    } else if (lower.find("provider=") != std::string::npos) {
      throw;
    } else {
      return std::nullopt;
    }
  }
  const std::string provider = ProviderOf(pairs);
  if (provider.empty()) {
    if (!HasKey(pairs, {"dsn", "driver", "filedsn"})) return std::nullopt;
    // Without a provider the string is ODBC's own, quotes and all.
    pairs = Pairs(utf8, Syntax::kOdbc);
    for (const Pair& pair : pairs) RefuseIntegratedSecurity(pair);
    return ServerConnection{utf8, PasswordOf(pairs)};
  }
  // "SQLOLEDB.1", "SQLNCLI11", "MSOLEDBSQL19": the family counts.
  for (const char* family : {"sqloledb", "sqlncli", "msoledbsql"})
    if (StartsWithNoCase(provider, family)) return ServerConnection{FromSqlServerProvider(pairs), PasswordOf(pairs)};
  if (StartsWithNoCase(provider, "msdasql")) return ServerConnection{FromOdbcProvider(pairs), PasswordOf(pairs)};
  Refuse("The provider \"" + provider +
         "\" has no ODBC counterpart here; SQL Server providers (SQLOLEDB, SQLNCLI, MSOLEDBSQL) and MSDASQL are "
         "translated, or give an ODBC string after \"odbc:\".");
}

std::optional<std::string> OdbcKeyword(std::string_view odbc, std::string_view keyword) {
  const std::string lower = Lower(keyword);
  try {
    for (const Pair& pair : Pairs(odbc, Syntax::kOdbc))
      if (pair.lower == lower) return pair.value;
  } catch (const Raised&) {
    // a string the driver manager will refuse with its own message
  }
  return std::nullopt;
}

std::string ShownConnectionString(std::string_view connectionString) {
  const std::string_view text = Trim(connectionString);
  const bool prefixed = StartsWithNoCase(text, "odbc:");
  try {
    if (!ServerConnectionFor(text)) return std::string(connectionString);
    const std::string_view body = prefixed ? Trim(text.substr(5)) : text;
    const std::string utf8 = AnsiToUtf8(body);
    std::vector<Pair> pairs;
    try {
      pairs = Pairs(utf8, Syntax::kAdo);
    } catch (const Raised&) {
      pairs.clear();  // ODBC's own, read below
    }
    if (ProviderOf(pairs).empty()) pairs = Pairs(utf8, Syntax::kOdbc);
    std::string shown;
    for (const Pair& pair : pairs)
      Append(shown, pair.key, AnyOf(pair.lower, {"pwd", "password"}) ? std::string("****") : pair.value);
    return (prefixed ? "odbc:" : "") + Utf8ToAnsi(shown);
  } catch (const Raised&) {
    return "(a connection string that cannot be read)";
  }
}

std::string WithoutPassword(std::string text, std::string_view password) {
  if (password.empty()) return text;
  for (std::size_t at = text.find(password); at != std::string::npos; at = text.find(password, at + 4))
    text.replace(at, password.size(), "****");
  return text;
}

}  // namespace tqlm
