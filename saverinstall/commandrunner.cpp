#include "commandrunner.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bx {

bool ProcessRunner::has(const std::string& program) const {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string folder = folders.substr(start, end - start);
        const std::string file = (folder.empty() ? std::string(".") : folder) + "/" + program;
        struct stat info {};
        if (::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(file.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

std::optional<std::string> ProcessRunner::run(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return std::nullopt;
    // Output goes to a file, not a pipe: a helper the tool leaves running (a bus daemon it
    // started) cannot keep the read waiting.
    std::FILE* output = std::tmpfile();
    if (!output)
        return std::nullopt;
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, ::fileno(output), 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int failed = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    pid_t waited = failed == 0 ? ::waitpid(child, &status, 0) : -1;
    while (waited == -1 && failed == 0 && errno == EINTR)
        waited = ::waitpid(child, &status, 0);
    if (failed != 0 || waited != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fclose(output);
        return std::nullopt;
    }
    std::string text;
    std::rewind(output);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, output)) > 0;)
        text.append(buffer, n);
    std::fclose(output);
    return text;
}

} // namespace bx
