#include "platform/linux/desktop/CanberraSounds.h"

#include "platform/XdgFolders.h"

#include <QApplication>
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

#ifdef RONDELIX_HAVE_CANBERRA
#include "platform/linux/desktop/CanberraLibrary.h"
#endif

namespace rondelix::platform::linux_desktop {

namespace fs = std::filesystem;

namespace {

constexpr std::array<const char*, 4> playableExtensions{".wav", ".oga", ".ogg", ".WAV"};

// The sounds the program ships: installed beside the executable, or, for a
// build that runs from its build folder, the source tree's data folder.
std::string ownSoundFolder() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        for (const fs::path& candidate :
             {exe.parent_path() / "../share/rondelix/sounds", exe.parent_path() / "sounds"})
            if (fs::is_directory(candidate, error)) return fs::weakly_canonical(candidate, error).string();
    }
    const fs::path source = fs::path(RONDELIX_SOURCE_DATA_DIR) / "sounds";
    if (fs::is_directory(source, error)) return fs::weakly_canonical(source, error).string();
    return {};
}

#ifdef RONDELIX_HAVE_CANBERRA
// A hundredth of a second of silence as a WAV file: 16-bit mono samples.
std::string silentWav() {
    constexpr std::uint32_t rate = 8000, dataBytes = rate / 100 * 2;
    std::string wav;
    const auto tag = [&](const char* four) { wav.append(four, 4); };
    const auto number = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            wav.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
    };
    tag("RIFF");
    number(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    number(16, 4);
    number(1, 2); // integer PCM
    number(1, 2); // one channel
    number(rate, 4);
    number(rate * 2, 4);
    number(2, 2);
    number(16, 2);
    tag("data");
    number(dataBytes, 4);
    wav.append(dataBytes, '\0');
    return wav;
}
#endif

} // namespace

// One libcanberra context for every sound, opened on first use. A context that
// cannot open (no device, no sound server) leaves everything silent.
class CanberraSounds::Player {
  public:
    explicit Player(Log& log) : log_(log) {}
    ~Player() {
#ifdef RONDELIX_HAVE_CANBERRA
        if (context_) ca_->contextDestroy(context_);
#endif
    }

    std::uint32_t newId() {
        return nextId_++;
    }

    void play(std::uint32_t id, const std::string& path, double volume) {
#ifdef RONDELIX_HAVE_CANBERRA
        if (volume <= 0.001 || !open()) return;
        ca_proplist* props = nullptr;
        if (ca_->proplistCreate(&props) != CA_SUCCESS) return;
        ca_->proplistSets(props, CA_PROP_MEDIA_FILENAME, path.c_str());
        ca_->proplistSetf(props, CA_PROP_CANBERRA_VOLUME, "%f", 20.0 * std::log10(std::min(volume, 1.0)));
        ca_->proplistSets(props, CA_PROP_CANBERRA_CACHE_CONTROL, "volatile");
        const int result = ca_->contextPlayFull(context_, id, props, nullptr, nullptr);
        ca_->proplistDestroy(props);
        // The file was found and decodes (`named` checks both), so "not found"
        // means the backend found no device to play on.
        if (result == CA_ERROR_NOTFOUND || result == CA_ERROR_NODRIVER || result == CA_ERROR_NOTAVAILABLE) {
            soundsOff("no sound device — sounds are off.");
        } else if (result != CA_SUCCESS) {
            logOnce(std::string("a sound could not be played: ") + ca_->strerror(result) + ".");
        }
#else
        (void)id, (void)path, (void)volume;
        logOnce("this build plays no sounds.");
#endif
    }

    void stop(std::uint32_t id) {
#ifdef RONDELIX_HAVE_CANBERRA
        if (context_) ca_->contextCancel(context_, id);
#else
        (void)id;
#endif
    }

    bool playing(std::uint32_t id) const {
#ifdef RONDELIX_HAVE_CANBERRA
        int playing = 0;
        return context_ && ca_->contextPlaying(context_, id, &playing) == CA_SUCCESS && playing;
#else
        (void)id;
        return false;
#endif
    }

    bool deviceFound() {
#ifdef RONDELIX_HAVE_CANBERRA
        if (!open()) return false;
        if (!probed_) {
            probed_ = true;
            playSilence();
        }
        return context_ != nullptr;
#else
        return false;
#endif
    }

    bool beep() {
#ifdef RONDELIX_HAVE_CANBERRA
        return open() && ca_->contextPlay(context_, newId(), CA_PROP_EVENT_ID, "bell", nullptr) == CA_SUCCESS;
#else
        return false;
#endif
    }

  private:
#ifdef RONDELIX_HAVE_CANBERRA
    // Some backends (ALSA's) open without a device and look for one only when
    // a sound plays: a moment of silence asks them, and nobody hears it.
    void playSilence() {
        std::error_code error;
        const fs::path folder = fs::temp_directory_path(error);
        if (error) return;
        std::string path = (folder / "rondelix-silence-XXXXXX.wav").string();
        const int file = ::mkstemps(path.data(), 4);
        if (file < 0) return;
        const std::string wav = silentWav();
        const bool written = ::write(file, wav.data(), wav.size()) == static_cast<ssize_t>(wav.size());
        ::close(file);
        // The backend opens the file as it starts playing; it may go after.
        if (written) play(newId(), path, 1.0);
        ::unlink(path.c_str());
    }
    bool open() {
        if (context_) return true;
        if (failed_) return false;
        std::string failure;
        ca_ = CanberraLibrary::load(failure);
        if (!ca_) {
            soundsOff("the sound library can't be loaded (" + failure + ") — sounds are off.");
            return false;
        }
        ca_context* context = nullptr;
        int result = ca_->contextCreate(&context);
        if (result == CA_SUCCESS)
            result = ca_->contextChangeProps(context, CA_PROP_APPLICATION_NAME, "Rondelix",
                                             CA_PROP_APPLICATION_ID, "rondelix", nullptr);
        if (result == CA_SUCCESS) result = ca_->contextOpen(context);
        if (result != CA_SUCCESS) {
            if (context) ca_->contextDestroy(context);
            soundsOff(std::string("no sound device (") + ca_->strerror(result) + ") — sounds are off.");
            return false;
        }
        context_ = context;
        return true;
    }
    // Nothing more is tried this run: each attempt costs the backend a search
    // for a device that is not there.
    void soundsOff(const std::string& line) {
        failed_ = true;
        if (context_) ca_->contextDestroy(context_);
        context_ = nullptr;
        logOnce(line);
    }
    const CanberraLibrary* ca_ = nullptr;
    ca_context* context_ = nullptr;
    bool failed_ = false;
    bool probed_ = false;
#endif

    void logOnce(const std::string& line) {
        if (logged_) return;
        logged_ = true;
        log_.write(line);
    }

    Log& log_;
    bool logged_ = false;
    std::uint32_t nextId_ = 1;
};

namespace {

class CanberraSound final : public Sound {
  public:
    CanberraSound(std::shared_ptr<CanberraSounds::Player> player, std::string path)
        : player_(std::move(player)), path_(std::move(path)), id_(player_->newId()) {}

    std::unique_ptr<Sound> copy() const override { return std::make_unique<CanberraSound>(player_, path_); }
    void setVolume(double volume) override { volume_ = std::clamp(volume, 0.0, 1.0); }
    void play() override { player_->play(id_, path_, volume_); }
    void stop() override { player_->stop(id_); }
    bool isPlaying() const override { return player_->playing(id_); }

  private:
    std::shared_ptr<CanberraSounds::Player> player_;
    std::string path_;
    std::uint32_t id_;
    double volume_ = 1.0;
};

} // namespace

std::vector<std::string> CanberraSounds::defaultFolders() {
    std::vector<std::string> folders;
    for (std::string folder : {ownSoundFolder(), (userDataFolder() / "sounds").string(),
                               std::string("/usr/share/sounds/freedesktop/stereo")})
        if (!folder.empty()) folders.push_back(std::move(folder));
    return folders;
}

CanberraSounds::CanberraSounds(Log& log, std::vector<std::string> folders)
    : folders_(std::move(folders)), player_(std::make_shared<Player>(log)) {}

CanberraSounds::~CanberraSounds() = default;

void CanberraSounds::beep() {
    if (!player_->beep() && QCoreApplication::instance()) QApplication::beep();
}

bool CanberraSounds::deviceFound() {
    return player_->deviceFound();
}

bool CanberraSounds::isPlayable(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string head(64 * 1024, '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));
    // Ogg: the first page carries the Vorbis identification header.
    if (head.size() >= 35 && head.compare(0, 4, "OggS") == 0) return head.compare(28, 7, "\x01vorbis") == 0;
    if (head.size() < 12 || head.compare(0, 4, "RIFF") != 0 || head.compare(8, 4, "WAVE") != 0) return false;
    // WAV: walk the chunks for an integer PCM format followed by data.
    bool pcm = false;
    for (std::size_t at = 12; at + 8 <= head.size();) {
        const auto byte = [&](std::size_t i) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(head[i]));
        };
        const std::uint32_t length =
            byte(at + 4) | byte(at + 5) << 8 | byte(at + 6) << 16 | byte(at + 7) << 24;
        if (head.compare(at, 4, "fmt ") == 0)
            pcm = length >= 16 && at + 10 <= head.size() && byte(at + 8) == 1 && byte(at + 9) == 0;
        if (head.compare(at, 4, "data") == 0) return pcm && length > 0;
        at += 8 + static_cast<std::size_t>(length) + (length & 1);
    }
    return false;
}

std::unique_ptr<Sound> CanberraSounds::named(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) return nullptr;
    std::error_code error;
    for (const std::string& folder : folders_)
        for (const char* extension : playableExtensions) {
            const fs::path path = fs::path(folder) / (name + extension);
            // A file that does not decode is passed over, so the caller's
            // fallback sound plays instead of silence.
            if (fs::is_regular_file(path, error) && isPlayable(path.string()))
                return std::make_unique<CanberraSound>(player_, path.string());
        }
    return nullptr;
}

} // namespace rondelix::platform::linux_desktop
