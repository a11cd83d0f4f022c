// How the developer tools read their command lines: usage when asked (--help, on
// standard output, status 0) or called without arguments (standard error, status
// 2), and a wrong call answered with one line naming what was wrong (status 2).
#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace toolargs {

// Exit status of a call the tool cannot take.
constexpr int WrongCall = 2;

inline bool IsHelp(const std::string& Arg) { return Arg == "--help" || Arg == "-h"; }

// An argument that looks like an option; "-" alone names standard input.
inline bool IsOption(const std::string& Arg) { return Arg.size() > 1 && Arg[0] == '-'; }

inline int Help(const std::string& Usage) {
  std::fputs(Usage.c_str(), stdout);
  return 0;
}

inline int NoArguments(const std::string& Usage) {
  std::fputs(Usage.c_str(), stderr);
  return WrongCall;
}

inline int Wrong(const char* Tool, const std::string& Message) {
  std::fprintf(stderr, "%s: %s (%s --help tells what it takes)\n", Tool, Message.c_str(), Tool);
  return WrongCall;
}

// The names as indented lines of at most 78 characters.
inline std::string NameLines(const std::vector<std::string>& Names) {
  std::string out, line = " ";
  for (const std::string& n : Names) {
    if (line.size() > 1 && line.size() + 1 + n.size() > 78) {
      out += line + "\n";
      line = " ";
    }
    line += " " + n;
  }
  return line.size() > 1 ? out + line + "\n" : out;
}

}  // namespace toolargs
