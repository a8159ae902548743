// Side files as their writers leave them: nothing of them is on disk until
// the run stores them.
#pragma once

#include <string>
#include <vector>

namespace tqlm {

struct SideFiles {
  struct File {
    std::string path;
    std::string bytes;
    bool ownerOnly = false;  // it carries a password
  };
  struct Name {
    std::string path;
    bool overReadOnly = false;  // an earlier read-only file of the name goes too
  };
  // The files completed, in the order they are written.
  std::vector<File> files;
  // Every name a writer began. A name begun but never completed leaves no
  // file: the part written never takes the name, and a file an earlier run
  // left there goes too, so that it cannot pass for this run's.
  std::vector<Name> begun;

  void Begin(std::string path, bool overReadOnly = false) { begun.push_back({std::move(path), overReadOnly}); }
  void Add(std::string path, std::string bytes, bool ownerOnly = false) {
    files.push_back({std::move(path), std::move(bytes), ownerOnly});
  }
};

}  // namespace tqlm
