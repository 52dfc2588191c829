// Velmora's entry: the application object and the main window.
#include "core/tags/picture/JpegImage.h"
#include "ui/platform/VelmoraApplication.h"
#include "ui/tags/QtPictureLoaders.h"
#include "ui/workspace/MainWindow.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    velmora::ui::VelmoraApplication app(argc, argv);
    velmora::tags::RegisterJpegImage();
    velmora::ui::RegisterQtPictureLoaders();
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    velmora::ui::MainWindow window(args);
    window.show();
    return app.exec();
}
