#pragma once
#include <fstream>
#include <string>

namespace bx::cli {

// A file written under a temporary name beside its target and renamed over the target only
// when complete, so that an interrupted run never leaves half a file (and an existing file
// stays as it was until then).
class OutputFile {
  public:
    // Creates the temporary file; throws std::runtime_error naming the target when it cannot.
    explicit OutputFile(std::string target);
    // Removes the temporary file unless committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::ostream& stream() { return stream_; }
    const std::string& target() const { return target_; }
    const std::string& temporaryPath() const { return temporary_; }

    // Flushes, syncs to disk and renames over the target; throws std::runtime_error on failure.
    void commit();

  private:
    std::string target_;
    std::string temporary_;
    std::ofstream stream_;
    bool committed_ = false;
};

} // namespace bx::cli
