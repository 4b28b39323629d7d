// magtime on a terminal and on a pipe: each answer is typed only after its prompt has appeared.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

struct step {
  const char* prompt;  // what must be on the screen before the answer is typed
  const char* answer;
};

const step dialogue[] = {
    {"data file format (vsolj=1 , vsnet=0) ", "1"},
    {"data file name = ", "obs.txt"},
    {"mag. axis (colum, max=79) = ", "10"},
    {"hour axis (colum, max=79) = ", "16"},
    {"Do you rewrite the graph ? (yes=1 , no=0) ", "0"},
    {"graph save ? (yes=1 , no=0) ", "1"},
    {"graph file name = ", "curve.txt"},
    {"Do you continue ? (yes=1 , no=0) ", "0"},
};

bool ends_with(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Reads from fd into `seen` (dropping "\r") until it ends with `tail` or 10 s pass without output.
bool wait_for(int fd, std::string& seen, const std::string& tail) {
  while (!ends_with(seen, tail)) {
    pollfd p = {fd, POLLIN, 0};
    if (poll(&p, 1, 5000) <= 0) return false;
    char buf[512];
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return false;
    for (ssize_t i = 0; i < n; ++i)
      if (buf[i] != '\r') seen += buf[i];
  }
  return true;
}

void read_to_end(int fd, std::string& seen) {
  for (;;) {
    pollfd p = {fd, POLLIN, 0};
    if (poll(&p, 1, 10000) <= 0) return;
    char buf[512];
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return;  // EOF on a pipe, EIO on a terminal whose program has ended
    seen.append(buf, static_cast<size_t>(n));
  }
}

void prepare_folder(const std::string& dir) {
  std::string cmd = "rm -rf '" + dir + "' && mkdir -p '" + dir + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::FILE* f = std::fopen((dir + "/obs.txt").c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("STAR1 201211182030 118 OBS1\nSTAR1 201211182215 12.6 OBS1\n", f);
  std::fclose(f);
}

// At a terminal a refused answer is said once and its question asked again: a word for a
// number, then the data file named as the graph file.
const step refusals[] = {
    {"data file format (vsolj=1 , vsnet=0) ", "yes"},
    {"answer must be a whole number.\ndata file format (vsolj=1 , vsnet=0) ", "1"},
    {"data file name = ", "obs.txt"},
    {"mag. axis (colum, max=79) = ", "10"},
    {"hour axis (colum, max=79) = ", "16"},
    {"Do you rewrite the graph ? (yes=1 , no=0) ", "0"},
    {"graph save ? (yes=1 , no=0) ", "1"},
    {"graph file name = ", "obs.txt"},
    {"graph file is the data file.\n\ngraph save ? (yes=1 , no=0) ", "0"},
    {"Do you continue ? (yes=1 , no=0) ", "0"},
};

// Plays the steps on `to` / `from` and returns the program's exit status.
template <size_t n>
int play(pid_t child, int to, int from, std::string& seen, const step (&steps)[n]) {
  for (const step& s : steps) {
    if (!wait_for(from, seen, s.prompt)) {
      ADD_FAILURE() << "no prompt \"" << s.prompt << "\" before its answer, after:\n" << seen;
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
      return -1;
    }
    const std::string line = std::string(s.answer) + "\n";
    EXPECT_EQ(write(to, line.data(), line.size()), static_cast<ssize_t>(line.size()));
  }
  read_to_end(from, seen);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Plays the steps to magtime started on a new terminal in `dir`; false when it cannot start.
template <size_t n>
bool play_on_terminal(const std::string& dir, std::string& seen, const step (&steps)[n]) {
  prepare_folder(dir);
  int master = -1;
  const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
  if (child < 0) return false;
  if (child == 0) {
    if (chdir(dir.c_str()) == 0) execl(MAGTIME_PATH, MAGTIME_PATH, static_cast<char*>(nullptr));
    _exit(127);
  }
  const int status = play(child, master, master, seen, steps);
  close(master);
  return status == 0;
}

TEST(prompts, appear_before_each_answer_on_a_terminal) {
  const std::string dir = std::string(SCRATCH_DIR) + "/terminal";
  std::string seen;
  EXPECT_TRUE(play_on_terminal(dir, seen, dialogue));
  EXPECT_NE(seen.find("13 +             \n    +---+---+---+\n   20  21  22  23\n"),
            std::string::npos)
      << seen;
  EXPECT_EQ(access((dir + "/curve.txt").c_str(), R_OK), 0);
}

TEST(prompts, come_again_after_one_message_for_a_refused_answer_on_a_terminal) {
  const std::string dir = std::string(SCRATCH_DIR) + "/refusals";
  std::string seen;
  EXPECT_TRUE(play_on_terminal(dir, seen, refusals));
  EXPECT_NE(seen.find("graph file name = obs.txt\ngraph file is the data file.\n\ngraph save ? "
                      "(yes=1 , no=0) 0\n"),
            std::string::npos)
      << seen;
}

TEST(prompts, appear_before_each_answer_on_a_pipe) {
  const std::string dir = std::string(SCRATCH_DIR) + "/pipe";
  prepare_folder(dir);
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    close(in[1]);
    close(out[0]);
    if (chdir(dir.c_str()) == 0) execl(MAGTIME_PATH, MAGTIME_PATH, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  std::string seen;
  EXPECT_EQ(play(child, in[1], out[0], seen, dialogue), 0);
  close(in[1]);
  close(out[0]);
  EXPECT_TRUE(ends_with(seen, "graph file name = \nDo you continue ? (yes=1 , no=0) ")) << seen;
}

}  // namespace
