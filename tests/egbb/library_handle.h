// The bitbase library as the engine loads it: the real "egbbso64.so", opened with dlopen and
// loaded with the tables of a folder.
#pragma once
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <string>

#include "core/chess.h"

namespace egbbtest {

class Library {
 public:
  // Opens the library of the build; every Library shares the one copy, so the last load counts.
  Library() {
    handle_ = dlopen((std::string(DORVIK_EGBB_DIR) + "egbbso64.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) throw std::runtime_error(dlerror());
    load_ = reinterpret_cast<void (*)(char*, int, int)>(dlsym(handle_, "load_egbb_5men"));
    probe_ = reinterpret_cast<int (*)(int, int, int, int, int, int, int, int, int)>(dlsym(handle_, "probe_egbb_5men"));
    if (!load_ || !probe_) throw std::runtime_error("the library lacks its functions");
  }
  ~Library() { dlclose(handle_); }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  void load(const std::string& directory, int cacheBytes = 4 << 20, int loadMode = 1) {
    std::string text = directory;
    load_(text.data(), cacheBytes, loadMode);
  }
  int probe(const int arguments[9]) const {
    const int* a = arguments;
    return probe_(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
  }
  // The board's probe, with its men in the order given.
  int probe(const egbb::Board& b) const {
    int a[9] = {b.side, b.men[0].square, b.men[1].square, 0, 0, 0, 0, 0, 0};
    for (int i = 2; i < b.count; ++i) {
      a[2 * i - 1] = 2 + b.men[i].type + 6 * b.men[i].colour;
      a[2 * i] = b.men[i].square;
    }
    return probe(a);
  }

 private:
  void* handle_;
  void (*load_)(char*, int, int);
  int (*probe_)(int, int, int, int, int, int, int, int, int);
};

}  // namespace egbbtest
