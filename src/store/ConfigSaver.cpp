#include "store/ConfigSaver.h"

#include "model/ConfigCoding.h"
#include "platform/Background.h"
#include "platform/MainQueue.h"

#include <condition_variable>
#include <ctime>
#include <mutex>
#include <utility>

namespace rondelix {

struct ConfigSaver::Writer {
    using Replaced = std::function<void(const std::filesystem::path&)>;

    struct Job {
        std::uint64_t number;
        Config settings;
        SharedWheels wheels;
        bool rotatingBackup;
        std::optional<FileIdentity> lastRead;
    };

    Writer(ConfigPaths paths, std::size_t largestFile, Seam whileWriting)
        : paths(std::move(paths)), largestFile(largestFile), whileWriting(std::move(whileWriting)) {}

    // The newest state takes the place of the one waiting, which is let go
    // outside the lock: a writer that wants the lock meanwhile need not wait.
    void put(Job job) {
        std::optional<Job> superseded;
        std::lock_guard hold(lock);
        if (waiting) job.rotatingBackup = job.rotatingBackup || waiting->rotatingBackup;
        superseded = std::exchange(waiting, std::move(job));
    }

    // Writes the save waiting, one writer at a time whichever thread it runs
    // on, so that each rotation sees the file the write before it left. The
    // main thread waits for the writer of the moment; a background writer
    // leaves what waits to it. Answers whether it wrote.
    bool writeWaiting(bool onMainThread) {
        std::unique_lock hold(lock);
        bool wrote = false;
        for (;;) {
            if (onMainThread)
                writerDone.wait(hold, [this] { return !writing; });
            else if (writing)
                return wrote;
            if (!waiting) return wrote;
            std::optional<Job> job = std::exchange(waiting, std::nullopt);
            writing = true;
            hold.unlock();
            Outcome outcome = write(*job);
            job.reset();
            hold.lock();
            finished.push_back(std::move(outcome));
            writing = false;
            wrote = true;
            writerDone.notify_all();
        }
    }

    Outcome write(Job& job) {
        Outcome outcome{job.number, Result<>{}, std::nullopt, {}, std::nullopt, std::nullopt, {}};
        if (const auto ec = makePrivateFolders(paths.folder)) {
            outcome.written = Failure{paths.folder.string() + ": " + ec.message()};
            return outcome;
        }
        std::string bytes = writeConfigFile(job.settings, job.wheels);
        // The next start could not read it back: the file keeps what it holds.
        if (bytes.size() > largestFile) {
            outcome.written = Failure{paths.config.string() + ": File too large"};
            outcome.refusedSize = bytes.size();
            return outcome;
        }
        // The backup takes the old file only once the new one is safely written.
        const bool rotating = job.rotatingBackup && !isMissing(paths.config);
        // Taken before the rename: another program's file may take the name at once.
        std::optional<FileIdentity> written, rotated;
        const auto rotate = [&](const std::filesystem::path& newFile) {
            written = fileIdentity(newFile);
            if (whileWriting) whileWriting(Step::written);
            if (rotating) rotated = rotateBackup(job, outcome);
            if (whileWriting) whileWriting(Step::rotated);
        };
        // Another program's file renamed in after the rotation looked is kept as the rotation keeps one.
        const auto keepLateArrival = [&](const std::filesystem::path& replaced) {
            if (fileIdentity(replaced) != rotated) keepOutsideFile(replaced, outcome);
        };
        outcome.written =
            writeFileAtomically(paths.config, bytes, TemporaryName::fresh, NewFileMode::privateToUser, rotate,
                                rotating ? keepLateArrival : Replaced{});
        if (!outcome.written.ok()) return outcome;
        if (whileWriting) whileWriting(Step::placed);
        lastSavedBytes = std::move(bytes);
        lastSavedFile = written;
        outcome.file = lastSavedFile;
        outcome.saved = {std::move(job.settings), std::move(job.wheels)};
        return outcome;
    }

    // The backup only ever takes a file that decodes: a half-written or
    // foreign file must not push out the last good backup, so it is set
    // aside instead. Failures here are not reported; the save goes on. The
    // file written last, still as it was left, has reached the disk and
    // decodes: the backup takes it over by a link instead of a second copy.
    // A file neither written last nor read last is another program's, which
    // the outcome hands to the store.
    std::optional<FileIdentity> rotateBackup(const Job& job, Outcome& outcome) {
        const auto found = fileIdentity(paths.config);
        if (lastSavedFile && found == lastSavedFile && linkCopyAtomically(paths.backup, paths.config).ok())
            return found;
        const Result<std::string> primary = readWholeFile(paths.config, largestFile);
        // The file as last written decodes; only a file changed since needs the full check.
        std::optional<Config> decoded;
        if (primary.ok() && primary.value() != lastSavedBytes) decoded = decodeConfigBytes(primary.value());
        if (primary.ok() && (primary.value() == lastSavedBytes || decoded)) {
            (void)writeCopyAtomically(paths.backup, primary.value(), paths.config);
            if (found != lastSavedFile && found != job.lastRead) outcome.outsideFile = std::move(decoded);
        } else {
            setAsideTold(paths.config, outcome);
        }
        return found;
    }

    // Another program's file, under whatever name it now bears: the backup
    // takes it when it decodes, and the outcome hands it to the store.
    void keepOutsideFile(const std::filesystem::path& file, Outcome& outcome) {
        const Result<std::string> bytes = readWholeFile(file, largestFile);
        std::optional<Config> decoded = bytes.ok() ? decodeConfigBytes(bytes.value()) : std::nullopt;
        std::error_code ec;
        if (decoded) std::filesystem::rename(file, paths.backup, ec);
        if (decoded && !ec)
            outcome.outsideFile = std::move(decoded);
        else
            setAsideTold(file, outcome);
    }

    void setAsideTold(const std::filesystem::path& file, Outcome& outcome) {
        // Most often a hand edit with a mistake: the user finds it by this name.
        if (const auto aside = setAside(file, static_cast<std::int64_t>(std::time(nullptr)), paths.config))
            outcome.logLines.push_back("config.json did not decode; set it aside as " +
                                       aside->filename().string() + ".");
    }

    const ConfigPaths paths;
    const std::size_t largestFile;
    const Seam whileWriting;
    std::mutex lock;
    std::condition_variable writerDone;
    std::optional<Job> waiting;
    std::vector<Outcome> finished;
    bool writing = false;
    // Only the writer of the moment touches these: what the last successful
    // save wrote and the file it made, so that rotating the backup need not
    // read or decode the program's own file again.
    std::string lastSavedBytes;
    std::optional<FileIdentity> lastSavedFile;
};

ConfigSaver::ConfigSaver(ConfigPaths paths, platform::MainQueue& queue, platform::Background* background,
                         Done done, std::size_t largestFile, Seam whileWriting)
    : writer_(std::make_shared<Writer>(std::move(paths), largestFile, std::move(whileWriting))),
      queue_(queue), background_(background), done_(std::move(done)) {}

ConfigSaver::~ConfigSaver() {
    flush();
    guard_.end();
}

void ConfigSaver::save(Config settings, SharedWheels wheels, bool rotatingBackup,
                       std::optional<FileIdentity> lastRead) {
    writer_->put({++asked_, std::move(settings), std::move(wheels), rotatingBackup, std::move(lastRead)});
    if (!background_) {
        flush();
        return;
    }
    background_->run([writer = writer_, &queue = queue_, alive = guard_.watch(), this] {
        if (!writer->writeWaiting(false)) return;
        queue.post([alive, this] {
            if (alive) tellFinished();
        });
    });
}

void ConfigSaver::flush() {
    writer_->writeWaiting(true);
    tellFinished();
}

void ConfigSaver::tellFinished() {
    std::vector<Outcome> finished;
    {
        std::lock_guard hold(writer_->lock);
        finished.swap(writer_->finished);
    }
    for (Outcome& outcome : finished) {
        told_ = outcome.number;
        if (done_) done_(std::move(outcome));
    }
}

} // namespace rondelix
