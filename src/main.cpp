// Velmora's entry: the options a terminal answers at once, then the application object and the
// main window.
#include "core/fs/PathUtils.h"
#include "core/tags/picture/JpegImage.h"
#include "core/workspace/CommandLine.h"
#include "ui/platform/VelmoraApplication.h"
#include "ui/tags/QtPictureLoaders.h"
#include "ui/workspace/MainWindow.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {
std::vector<std::string> Arguments(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return args;
}
} // namespace

int main(int argc, char** argv) {
    using velmora::workspace::CommandLine;
    // Before the application object, which needs a display.
    const CommandLine cl =
        CommandLine::Parse(Arguments(argc, argv), std::string(), nullptr, nullptr);
    switch (cl.action) {
    case CommandLine::Action::Help:
        std::fputs(CommandLine::Usage().c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("Velmora %s\n", VELMORA_VERSION);
        return 0;
    case CommandLine::Action::UnknownOption:
        std::fprintf(stderr,
                     "velmora: unknown option '%s'\nTry 'velmora --help' for more information.\n",
                     cl.unknownOption.c_str());
        return 2;
    case CommandLine::Action::Open:
        break;
    }
    velmora::ui::VelmoraApplication app(argc, argv);
    velmora::tags::RegisterJpegImage();
    velmora::ui::RegisterQtPictureLoaders();
    // The application object has taken its own options out of argv.
    velmora::ui::MainWindow window(Arguments(argc, argv));
    window.show();
    return app.exec();
}
