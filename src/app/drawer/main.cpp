// The drawer: reads one drawing or picture from outside on its standard
// input and writes what its arguments ask for on its standard output:
//
//   drawing <side>                    the cleaned drawing, drawn into a
//                                     transparent square of that side, as PNG
//   size <readers>                    the picture's size, "<width> <height>"
//   picture <readers> <width> <height> the picture drawn at that size, as PNG
//   fitted <readers> <edge> <largest>  the picture drawn to fit the edge, as
//                                     PNG, if no side is longer than largest
//
// <readers> is "named" or "any" (QtImages::Readers). A process of its own
// with its memory and processor time capped, so that whatever a drawing or
// picture costs, it cannot cost the program; and it ends with the program,
// whose process id is its last argument.

#include "platform/linux/qt/QtImages.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using rondelix::platform::linux_desktop::QtImages;

// Room for the toolkit, its fonts and a drawing an icon could reasonably need.
constexpr rlim_t drawingAddressSpace = rlim_t{1} << 30;
// Room for the largest picture the program takes, decoded at 8 bytes a pixel
// and once more while it is shrunk.
constexpr rlim_t pictureAddressSpace = rlim_t{2} << 30;
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
constexpr std::size_t largestDrawing = 16u << 20;
// More than any picture the program hands over: a chosen one is at most 100 MiB.
constexpr std::size_t largestPicture = 128u << 20;

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

bool writeAll(int fd, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote <= 0) return false;
        done += wrote;
    }
    return true;
}

std::optional<QtImages::Readers> readersNamed(std::string_view name) {
    if (name == "named") return QtImages::Readers::namedRasters;
    if (name == "any") return QtImages::Readers::anyButDrawings;
    return std::nullopt;
}

std::optional<std::string> drawingAsPNG(const std::string& svg, int side) {
    if (side <= 0 || side > 4096) return std::nullopt;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int toolkitArgc = 1;
    char name[] = "rondelix-svg-drawer";
    char* toolkitArgv[] = {name, nullptr};
    const QGuiApplication application(toolkitArgc, toolkitArgv);
    const QImage image = drawn(QByteArray::fromStdString(svg), side);
    QByteArray png;
    QBuffer out(&png);
    if (image.isNull() || !out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG")) return std::nullopt;
    return png.toStdString();
}

// What the request asks for, made from the input; none when it cannot be.
std::optional<std::string> answered(const std::vector<std::string_view>& request, const std::string& input) {
    const auto readers = request.size() > 1 ? readersNamed(request[1]) : std::nullopt;
    if (request.front() == "drawing" && request.size() == 2)
        return drawingAsPNG(input, std::atoi(std::string(request[1]).c_str()));
    if (request.front() == "size" && request.size() == 2 && readers) {
        const auto size = QtImages(*readers).declaredSize(input);
        if (!size) return std::nullopt;
        return std::to_string(static_cast<long long>(size->width)) + " " +
               std::to_string(static_cast<long long>(size->height));
    }
    if (request.front() == "picture" && request.size() == 4 && readers)
        return QtImages(*readers).drawnAsPNG(input, std::atoi(std::string(request[2]).c_str()),
                                             std::atoi(std::string(request[3]).c_str()), {});
    if (request.front() == "fitted" && request.size() == 4 && readers)
        return QtImages(*readers)
            .fittedAsPNG(input, std::atoi(std::string(request[2]).c_str()),
                         std::atof(std::string(request[3]).c_str()), {}, nullptr)
            .png;
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    // A program killed outright cannot kill its drawer: the drawer goes with
    // it instead of drawing on to its processor limit. A program already
    // gone before this was asked for has handed the drawer on to another
    // parent.
    const pid_t program = argc >= 3 ? static_cast<pid_t>(std::atol(argv[argc - 1])) : 0;
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || program <= 0 || ::getppid() != program) return 2;
    const std::vector<std::string_view> request(argv + 1, argv + argc - 1);
    const bool drawing = request.front() == "drawing";
    const rlim_t addressSpace = drawing ? drawingAddressSpace : pictureAddressSpace;
    // The hard processor limit ends it should the soft one's signal not.
    if ((capsAddressSpace && !limit(RLIMIT_AS, addressSpace, addressSpace)) ||
        !limit(RLIMIT_CPU, processorSeconds, processorSeconds + 1) || !limit(RLIMIT_CORE, 0, 0))
        return 2;
    // Memory refused ends the drawer wherever it was asked for, in the
    // readers too, with a status of its own: a picture too costly to read is
    // told from one that is no picture.
    std::set_terminate([] {
        try {
            if (const auto thrown = std::current_exception()) std::rethrow_exception(thrown);
        } catch (const std::bad_alloc&) {
            std::_Exit(rondelix::platform::linux_desktop::QtImages::outOfMemoryStatus);
        } catch (...) {
        }
        std::abort();
    });

    const std::size_t largestInput = drawing ? largestDrawing : largestPicture;
    std::string input;
    char chunk[65536];
    for (ssize_t got; (got = ::read(STDIN_FILENO, chunk, sizeof chunk)) != 0;) {
        if (got < 0 || input.size() + static_cast<std::size_t>(got) > largestInput) return 2;
        input.append(chunk, static_cast<std::size_t>(got));
    }
    const auto answer = answered(request, input);
    if (!answer) return 1;
    return writeAll(STDOUT_FILENO, *answer) ? 0 : 1;
}
