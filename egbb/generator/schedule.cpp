#include "generator/schedule.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

#include "core/table_file.h"
#include "core/value.h"
#include "generator/known_tables.h"
#include "generator/retrograde.h"

namespace egbb {

namespace {

struct Job {
  Ending ending;
  std::vector<uint32_t> needs;  // keys of the endings it reads
  bool generate = false;
  bool done = false;
  bool running = false;
};

class Scheduler {
 public:
  Scheduler(const ScheduleOptions& options) : options_(options), known_(options.directory) {}

  bool plan(const std::vector<Ending>& requested);
  bool run();

 private:
  void addWithSuccessors(const Ending& ending, bool requested);
  void worker();
  bool produce(Job& job, int threads);
  std::string path(const Ending& e) const { return options_.directory + "/" + e.name() + TABLE_SUFFIX; }

  ScheduleOptions options_;
  KnownTables known_;
  std::map<uint32_t, Job> jobs_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int running_ = 0;
  bool failed_ = false;
};

void Scheduler::addWithSuccessors(const Ending& ending, bool requested) {
  auto [it, fresh] = jobs_.try_emplace(ending.key());
  Job& job = it->second;
  if (requested) job.generate = job.generate || options_.force;
  if (!fresh) return;
  job.ending = ending;
  for (const Ending& next : ending.successors()) {
    job.needs.push_back(next.key());
    addWithSuccessors(next, false);
  }
}

bool Scheduler::plan(const std::vector<Ending>& requested) {
  for (const Ending& e : requested) addWithSuccessors(e.stored(), true);
  for (auto& [key, job] : jobs_) {
    if (job.generate) continue;
    // A table that is there is used if it reads whole; anything else is made anew.
    std::string error;
    struct stat st;
    if (stat(path(job.ending).c_str(), &st) == 0 && known_.load(job.ending, error)) {
      job.done = true;
      std::printf("%s: present\n", job.ending.name().c_str());
    } else {
      if (!error.empty()) std::printf("%s: %s; generating it again\n", job.ending.name().c_str(), error.c_str());
      job.generate = true;
    }
  }
  return true;
}

bool Scheduler::produce(Job& job, int threads) {
  auto start = std::chrono::steady_clock::now();
  GenerationResult result = generateEnding(job.ending, known_.view(), threads);
  std::string error = result.error;
  if (error.empty()) writeTable(path(job.ending), job.ending, result.values, error);
  if (!error.empty()) {
    std::printf("%s: %s\n", job.ending.name().c_str(), error.c_str());
    return false;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  struct stat st;
  stat(path(job.ending).c_str(), &st);
  std::printf("%s: %llu positions, longest mate %d plies, %.1f s, %lld bytes\n", job.ending.name().c_str(),
              (unsigned long long)(2 * result.values[0].size()), result.longestPlies, seconds, (long long)st.st_size);
  std::fflush(stdout);
  known_.add(job.ending, result.values);
  return true;
}

void Scheduler::worker() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    Job* ready = nullptr;
    bool left = false;
    for (auto& [key, job] : jobs_) {
      if (job.done || job.running) continue;
      left = true;
      bool canStart = std::all_of(job.needs.begin(), job.needs.end(), [&](uint32_t k) { return jobs_[k].done; });
      // Smaller endings first: the larger ones wait on them.
      if (canStart && (!ready || job.ending.men() < ready->ending.men())) ready = &job;
    }
    if (failed_ || (!left && running_ == 0)) return;
    if (!ready) {
      changed_.wait(lock);
      continue;
    }
    ready->running = true;
    ++running_;
    int threads = std::max(1, options_.threads - (running_ - 1));
    lock.unlock();
    bool ok = produce(*ready, threads);
    lock.lock();
    ready->running = false;
    ready->done = ok;
    failed_ = failed_ || !ok;
    --running_;
    changed_.notify_all();
  }
}

bool Scheduler::run() {
  for (auto& [key, job] : jobs_)
    if (!job.generate) job.done = true;
  std::vector<std::thread> workers;
  for (int i = 0; i < std::max(1, options_.threads); ++i) workers.emplace_back([this] { worker(); });
  for (auto& w : workers) w.join();
  return !failed_;
}

}  // namespace

bool generateEndings(const std::vector<Ending>& requested, const ScheduleOptions& options) {
  Scheduler scheduler(options);
  return scheduler.plan(requested) && scheduler.run();
}

}  // namespace egbb
