// Runs the real dorvik binary in a fresh temporary directory with a given standard input.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace e2e {

// A directory under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dorvik-e2e-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void writeFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

using Files = std::vector<std::pair<std::string, std::string>>;

// Writes the files under the folder; names may hold folders.
inline void writeFiles(const std::filesystem::path& folder, const Files& files) {
  for (const auto& [name, contents] : files) {
    std::filesystem::create_directories((folder / name).parent_path());
    writeFile(folder / name, contents);
  }
}

// The engine's surroundings: the binary as "games/dorvik" in a folder of its own, beside an empty
// home folder "home/", so that it finds no "Dorvik.ini" but the test's (neither the user's nor
// the source tree's above the build folder). Returns the binary's path.
inline std::string placeEngine(const std::filesystem::path& root) {
  std::filesystem::create_directories(root / "games");
  std::filesystem::create_directories(root / "home");
  std::filesystem::path engine = root / "games" / "dorvik";
  if (std::filesystem::exists(engine)) return engine;
  std::error_code error;
  std::filesystem::create_hard_link(DORVIK_BINARY, engine, error);
  if (error) std::filesystem::copy_file(DORVIK_BINARY, engine);
  return engine;
}

// In the child, before the engine starts: the home folder of placeEngine.
inline void useHome(const std::filesystem::path& root) {
  setenv("HOME", (root / "home").c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("XDG_STATE_HOME");
}

struct Run {
  using Files = e2e::Files;
  Run(std::string input, const char* ini = nullptr, Files files = {})
      : input(std::move(input)), ini(ini), files(std::move(files)) {}

  std::string input;                   // standard input, then end of file
  const char* ini;                     // text of "Dorvik.ini"; none if null
  Files files;                         // more files in the work directory: relative name, contents
  std::vector<std::string> arguments;  // the engine's command line
  std::filesystem::path workDir;       // where the engine runs; a fresh directory when empty
  std::shared_ptr<TempDir> around;     // the engine's surroundings (see placeEngine); fresh when null
  int timeoutSeconds = 60;
};

struct Result {
  std::string out;                  // standard output
  std::string err;                  // standard error
  std::string log;                  // "Dorvik.log"
  int status = -1;                  // exit status; 128 + signal number when killed
  std::shared_ptr<TempDir> dir;     // the fresh work directory
  std::filesystem::path workDir;    // where the engine ran
  std::shared_ptr<TempDir> around;  // the engine's surroundings (see placeEngine)

  std::string file(const std::string& name) const { return readFile(workDir / name); }
  bool exists(const std::string& name) const { return std::filesystem::exists(workDir / name); }
};

// Starts the binary in a fresh directory, waits for it (killing it after the timeout) and
// collects what it wrote.
inline Result runDorvik(const Run& run) {
  Result result;
  if (run.workDir.empty()) result.dir = std::make_shared<TempDir>();
  result.workDir = run.workDir.empty() ? result.dir->path() : run.workDir;
  const std::filesystem::path& dir = result.workDir;
  if (run.ini) writeFile(dir / "Dorvik.ini", run.ini);
  writeFiles(dir, run.files);
  // The harness's own files live beside the work directory, so the engine sees only its own.
  result.around = run.around ? run.around : std::make_shared<TempDir>();
  const TempDir& io = *result.around;
  const std::string engine = placeEngine(io.path());
  writeFile(io.path() / "stdin", run.input);
  std::string in = io.path() / "stdin", out = io.path() / "stdout", err = io.path() / "stderr";
  std::vector<char*> argv = {const_cast<char*>(engine.c_str())};
  for (const std::string& argument : run.arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    if (chdir(dir.c_str()) != 0) _exit(126);
    int fdIn = open(in.c_str(), O_RDONLY);
    int fdOut = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int fdErr = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fdIn < 0 || fdOut < 0 || fdErr < 0) _exit(126);
    dup2(fdIn, 0);
    dup2(fdOut, 1);
    dup2(fdErr, 2);
    useHome(io.path());
    execv(engine.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(run.timeoutSeconds);
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = readFile(out);
  result.err = readFile(err);
  result.log = readFile(dir / "Dorvik.log");
  return result;
}

// The xboard handshake as the front end sends it, ready to be followed by commands.
inline const char* const XBOARD_HANDSHAKE = "xboard\nprotover 2\naccepted done\naccepted setboard\n";

// Standard output up to and including the start-up report, for tests of what follows it.
inline std::string afterStartUp(const std::string& out) {
  size_t at = out.find("EGBB");
  if (at == std::string::npos) return out;
  at = out.find('\n', at);
  // the bitbase report is one to four lines, each starting with "EGBB"
  while (at != std::string::npos && out.compare(at + 1, 4, "EGBB") == 0) at = out.find('\n', at + 1);
  return at == std::string::npos ? "" : out.substr(at + 1);
}

// The command words of the "::cmd:: " lines of a log (a line each), without the front end's
// replies to the handshake ("protover", "accepted", "rejected") that open it.
inline std::vector<std::string> loggedCommands(const std::string& log) {
  std::vector<std::string> words;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("::cmd:: ", 0) != 0) continue;
    std::string word = line.substr(8, line.find(' ', 8) - 8);
    bool handshake = word == "protover" || word == "accepted" || word == "rejected";
    if (!(words.empty() && handshake)) words.push_back(word);
  }
  return words;
}

}  // namespace e2e
