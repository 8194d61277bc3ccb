// The drawer: reads one cleaned drawing on its standard input and writes it,
// drawn into a transparent square of the side its first argument names, as
// PNG on its standard output. A process of its own with its memory and
// processor time capped, so that whatever a drawing costs, it cannot cost
// the program; and it ends with the program, whose process id is its second
// argument.

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Room for the toolkit, its fonts and a drawing an icon could reasonably need.
constexpr rlim_t addressSpace = rlim_t{1} << 30;
// The address sanitizer maps terabytes of shadow memory before this program
// starts, which would leave a capped address space nothing to give: its
// builds keep the time limits only.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool capsAddressSpace = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool capsAddressSpace = false;
#else
constexpr bool capsAddressSpace = true;
#endif
#else
constexpr bool capsAddressSpace = true;
#endif
constexpr rlim_t processorSeconds = 6;
constexpr std::size_t largestDocument = 16u << 20;

bool limit(int resource, rlim_t soft, rlim_t hard) {
    const rlimit value{soft, hard};
    return ::setrlimit(resource, &value) == 0;
}

// Fitted with its aspect kept and centred; a null image when it cannot be drawn.
QImage drawn(const QByteArray& svg, int side) {
    QBuffer document;
    document.setData(svg);
    if (!document.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&document, "svg");
    reader.setAutoDetectImageFormat(false);
    QSizeF natural = reader.size();
    if (natural.isEmpty()) natural = QSizeF(side, side);
    const QSize fitted = natural.scaled(side, side, Qt::KeepAspectRatio).toSize().expandedTo(QSize(1, 1));
    reader.setScaledSize(fitted);
    const QImage drawing = reader.read();
    if (drawing.isNull()) return {};

    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawImage(QPointF((side - fitted.width()) / 2.0, (side - fitted.height()) / 2.0), drawing);
    return image;
}

bool writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t wrote =
            ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (wrote <= 0) return false;
        done += wrote;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    // A program killed outright cannot kill its drawer: the drawer goes with
    // it instead of drawing on to its processor limit. A program already
    // gone before this was asked for has handed the drawer on to another
    // parent.
    const pid_t program = argc == 3 ? static_cast<pid_t>(std::atol(argv[2])) : 0;
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || program <= 0 || ::getppid() != program) return 2;
    // The hard processor limit ends it should the soft one's signal not.
    if ((capsAddressSpace && !limit(RLIMIT_AS, addressSpace, addressSpace)) ||
        !limit(RLIMIT_CPU, processorSeconds, processorSeconds + 1) || !limit(RLIMIT_CORE, 0, 0))
        return 2;
    const int side = std::atoi(argv[1]);
    if (side <= 0 || side > 4096) return 2;

    QByteArray svg;
    char chunk[65536];
    for (ssize_t got; (got = ::read(STDIN_FILENO, chunk, sizeof chunk)) != 0;) {
        if (got < 0 || static_cast<std::size_t>(svg.size() + got) > largestDocument) return 2;
        svg.append(chunk, got);
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    const QGuiApplication application(toolkitArgc, toolkitArgv);
    const QImage image = drawn(svg, side);
    if (image.isNull()) return 1;
    QByteArray png;
    QBuffer out(&png);
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !writeAll(STDOUT_FILENO, png))
        return 1;
    return 0;
}
