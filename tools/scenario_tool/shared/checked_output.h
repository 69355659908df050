// The tool's standard output, every write checked: a full disk or a closed
// file behind it is found and told, never taken for a printed result.
#pragma once

#include <cstdio>
#include <streambuf>
#include <string>

namespace scenario_tool {

// Hands every write straight to a C stream (which buffers it) and keeps the
// reason of the first write or flush that fails; every write after it fails
// too, so the stream that uses it goes bad.
class checked_output : public std::streambuf {
 public:
  explicit checked_output(std::FILE* file) : file_(file) {}

  // The system's reason of the first failure; empty while none.
  const std::string& failure() const { return failure_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* bytes, std::streamsize count) override;
  int sync() override;

 private:
  void failed();

  std::FILE* file_;
  std::string failure_;
};

}  // namespace scenario_tool
