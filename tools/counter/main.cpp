// zorvalit-counter: a stand-in for the frequency counter on a pseudo-terminal.
// Parses the command line and runs the counter; see --help.
#include <signal.h>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "counter/command_line.h"
#include "counter/counter_loop.h"

int main(int argc, char** argv)
{
    using namespace zorvalit::counter;
    // A reader of stdout that went away must not kill the counter mid-line.
    signal(SIGPIPE, SIG_IGN);

    Options options;
    try {
        options = parse_options(std::vector<std::string_view>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "zorvalit-counter: %s\nTry 'zorvalit-counter --help'.\n", error.what());
        return 2;
    }
    if (options.help) {
        const std::string text = help_text();
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    try {
        return Counter(options).run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zorvalit-counter: %s\n", error.what());
        return 1;
    }
}
