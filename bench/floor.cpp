// The floor a generation is measured against: delete the files this floor
// wrote before (keeping their folders, as a run's --clear does), read every
// row of every repository table once, and write files of the sizes the
// documents have.
// Usage: bench_floor REPOSITORY DOCUMENTS_FOLDER OUTPUT_FOLDER
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_floor REPOSITORY DOCUMENTS OUTPUT\n");
    return 2;
  }
  namespace fs = std::filesystem;
  std::error_code ignored;
  std::vector<fs::path> previous;
  for (const auto& entry : fs::recursive_directory_iterator(argv[3], ignored))
    if (entry.is_regular_file()) previous.push_back(entry.path());
  for (const fs::path& file : previous) fs::remove(file, ignored);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return 1;
  std::vector<std::string> tables;
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "select name from sqlite_master where type = 'table'", -1, &st, nullptr);
  while (sqlite3_step(st) == SQLITE_ROW) tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_finalize(st);
  unsigned long long bytes = 0;
  for (const std::string& table : tables) {
    sqlite3_prepare_v2(db, ("select * from " + table).c_str(), -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
      for (int i = 0; i < sqlite3_column_count(st); ++i) bytes += static_cast<unsigned>(sqlite3_column_bytes(st, i));
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  const std::string filler(1 << 20, 'x');
  for (const auto& entry : fs::recursive_directory_iterator(argv[2])) {
    if (!entry.is_regular_file()) continue;
    const fs::path target = fs::path(argv[3]) / fs::relative(entry.path(), argv[2]);
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    for (auto left = entry.file_size(); left > 0;) {
      const auto n = std::min<std::uintmax_t>(left, filler.size());
      out.write(filler.data(), static_cast<std::streamsize>(n));
      left -= n;
    }
  }
  std::printf("%llu bytes read\n", bytes);
  return 0;
}
