// The toolkit's floor: the plainest Qt Widgets program that shows what the viewer shows at
// start, one 480x480 white picture in a window. The bench times its launch and peak RSS beside
// the viewer's; what the viewer needs above these is its own.
#include <QApplication>
#include <QLabel>
#include <QPixmap>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QPixmap picture(480, 480);
    picture.fill(Qt::white);
    QLabel window;
    window.setPixmap(picture);
    window.setWindowTitle("Qt floor");
    window.show();
    return app.exec();
}
