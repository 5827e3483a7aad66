#include "driver/quellor_options.h"

#include <array>

namespace quellor {
namespace {

constexpr std::array<ProgramOption<QuellorOptions>, 4> kOptions = {{
    {.name = "--help",
     .help = "print this text",
     .flag = &QuellorOptions::help,
     .other_spellings = "-h -? /?"},
    {.name = "--version", .help = "print the version", .flag = &QuellorOptions::version},
    {.name = "--strict",
     .help = "exit 2 when the build reported an error (or set QUELLOR_STRICT=1)",
     .flag = &QuellorOptions::strict},
    {.name = "--preview",
     .help = "run the whole build and report it, writing nothing (or set QUELLOR_PREVIEW=1)",
     .flag = &QuellorOptions::preview},
}};

}  // namespace

Result<ParsedArguments<QuellorOptions>> ParseQuellorOptions(std::span<const std::string> args) {
  return ParseProgramOptions<QuellorOptions>(kOptions, args);
}

std::string QuellorUsage() {
  return "Usage: quellor [OPTION]... PROJECT[,APPLICATION,FOLDER]\n"
         "  Builds the HMI and historian files of the project whose folder, or a file in it\n"
         "  (normally Project.mdb), is PROJECT. With APPLICATION and FOLDER, builds only that HMI\n"
         "  application, in FOLDER. Fields are separated by the user's list separator; double\n"
         "  quotes group. QUELLOR_PREFIX names the folder that plays the Windows machine\n"
         "  (quellor-prefix makes one).\n"
         "  A preview reports every message of the build, in the same order, and ends with a\n"
         "  line saying that nothing was written: no file or folder is created, changed,\n"
         "  renamed or removed, and the project database is not touched. It waits for a build\n"
         "  that holds an application folder, as a build does.\n"
         "Options:\n" +
         OptionsUsage<QuellorOptions>(kOptions) +
         "Exit codes:\n"
         "  0  the build ran; the errors it met are in its report\n"
         "  1  an old-format tag dictionary ended the build\n"
         "  2  with --strict: the build reported an error; or an unknown option\n";
}

}  // namespace quellor
