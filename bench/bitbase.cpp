// Bitbase probes through the library's own interface: the time of a probe whose block the cache
// holds (the usual case in a search), of one that reads and decodes its block from the file (load
// mode 1) and of one that decodes it from memory (load mode 3), with the process's resident memory.
#include <dirent.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/index.h"
#include "core/table_file.h"

namespace {

using namespace egbb;
using Probe = int (*)(int, int, int, int, int, int, int, int, int);
using Load = void (*)(char*, int, int);

struct Arguments {
  int a[9];
};

Arguments argumentsOf(const Board& b) {
  Arguments r = {{b.side, b.men[0].square, b.men[1].square, 0, 0, 0, 0, 0, 0}};
  for (int i = 2; i < b.count; ++i) r.a[2 * i - 1] = 2 + b.men[i].type + 6 * b.men[i].colour, r.a[2 * i] = b.men[i].square;
  return r;
}

long residentKb(const char* field) {
  FILE* f = std::fopen("/proc/self/status", "r");
  char line[256];
  long kb = -1;
  while (f && std::fgets(line, sizeof line, f))
    if (std::strncmp(line, field, std::strlen(field)) == 0) std::sscanf(line + std::strlen(field), "%ld", &kb);
  if (f) std::fclose(f);
  return kb;
}

// Positions of the tables in the folder: `perBlock` from each of `blocks` random blocks (so that
// they share few blocks), or with perBlock 1 spread over every table.
std::vector<Arguments> positions(const std::vector<Ending>& endings, int blocks, int perBlock, std::mt19937_64& random) {
  std::vector<Arguments> list;
  for (int k = 0; k < blocks; ++k) {
    const Ending& e = endings[random() % endings.size()];
    Indexer indexer(e);
    uint64_t start = random() % indexer.size() / BLOCK_VALUES * BLOCK_VALUES;
    int side = int(random() % 2);
    for (int found = 0, tries = 0; found < perBlock && tries < 100 * perBlock; ++tries) {
      Board b;
      uint64_t number = std::min(indexer.size() - 1, start + random() % BLOCK_VALUES);
      if (!indexer.decode(number, side, b) || !isLegal(b) || indexer.index(b) != number) continue;
      list.push_back(argumentsOf(b));
      ++found;
    }
  }
  return list;
}

double nanosecondsPerProbe(Probe probe, const std::vector<Arguments>& list, int rounds, long& checksum) {
  auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < rounds; ++r)
    for (const Arguments& x : list) checksum += probe(x.a[0], x.a[1], x.a[2], x.a[3], x.a[4], x.a[5], x.a[6], x.a[7], x.a[8]);
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / (double(rounds) * list.size());
}

}  // namespace

int main() {
  std::string dir = EGBB_DIR;
  void* library = dlopen((dir + "egbbso64.so").c_str(), RTLD_NOW);
  if (!library) return std::printf("cannot open the library: %s\n", dlerror()), 1;
  auto load = reinterpret_cast<Load>(dlsym(library, "load_egbb_5men"));
  auto probe = reinterpret_cast<Probe>(dlsym(library, "probe_egbb_5men"));
  std::vector<Ending> endings;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* entry = readdir(d)) {
      std::string name = entry->d_name;
      Ending e;
      if (name.size() > 4 && name.substr(name.size() - 4) == TABLE_SUFFIX && Ending::parse(name.substr(0, name.size() - 4), e))
        endings.push_back(e);
    }
    closedir(d);
  }
  if (endings.empty()) return std::printf("no tables in %s\n", dir.c_str()), 1;
  std::mt19937_64 random(1);
  long checksum = 0;
  long before = residentKb("VmRSS:");
  load(dir.data(), 4 << 20, 1);
  std::printf("%zu tables in %s; load mode 1, cache 4 MB: resident %ld kB after load (%+ld)\n", endings.size(), dir.c_str(),
              residentKb("VmRSS:"), residentKb("VmRSS:") - before);

  // A search's probes come back to the same blocks: 300 blocks (2.4 MB of cache), 30 positions each.
  std::vector<Arguments> held = positions(endings, 300, 30, random);
  nanosecondsPerProbe(probe, held, 1, checksum);
  std::printf("probe, block in the cache:     %8.0f ns   (%zu positions, 200 rounds)\n",
              nanosecondsPerProbe(probe, held, 200, checksum), held.size());
  std::vector<Arguments> spread = positions(endings, 20000, 1, random);
  std::printf("probe, block read from file:   %8.0f ns   (%zu positions over every table)\n",
              nanosecondsPerProbe(probe, spread, 1, checksum), spread.size());
  std::printf("resident after these probes: %ld kB, peak %ld kB\n", residentKb("VmRSS:"), residentKb("VmHWM:"));

  load(dir.data(), 4 << 20, 3);
  std::printf("load mode 3: resident %ld kB after load\n", residentKb("VmRSS:"));
  std::vector<Arguments> spread2 = positions(endings, 20000, 1, random);
  std::printf("probe, block decoded from memory: %5.0f ns   (%zu positions over every table)\n",
              nanosecondsPerProbe(probe, spread2, 1, checksum), spread2.size());
  std::printf("checksum %ld\n", checksum);
  return 0;
}
