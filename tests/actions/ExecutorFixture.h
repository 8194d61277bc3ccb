#pragma once

#include "actions/MacroExecutor.h"
#include "platform/sim/SimEventTaps.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimPasteboard.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimSounds.h"
#include "platform/sim/SimWorkspace.h"

#include <gtest/gtest.h>

namespace rondelix {

// An executor on the simulated platform whose failure sentences are collected.
class ExecutorTest : public ::testing::Test {
  protected:
    platform::sim::SimMainQueue queue;
    platform::sim::SimPasteboard pasteboard;
    platform::sim::SimWorkspace workspace{queue};
    platform::sim::SimProcesses processes{queue};
    platform::sim::SimEventTaps taps{queue};
    platform::sim::SimSounds sounds;
    platform::sim::SimLog log;
    MacroExecutor executor{{queue, pasteboard, workspace, processes, taps, sounds, log},
                           {"/bin/zsh", "/home/u/.config/rondelix/shortcuts", "/home/u"}};
    std::vector<std::string> reported;
    std::vector<std::string> shortcutFailures;

    void SetUp() override {
        executor.onActionFailed = [this](const std::string& sentence) { reported.push_back(sentence); };
        executor.onShortcutFailed = [this](const std::string& name) { shortcutFailures.push_back(name); };
    }

    void fire(MacroAction action) {
        executor.fire(action);
        queue.runPending();
    }
    void fireSystem(const std::string& id) { fire(MacroAction::SystemAction{id}); }

    const platform::ProcessRequest& request(std::size_t index) { return processes.child(index).request; }
    std::vector<std::string> commandLine(std::size_t index) {
        std::vector<std::string> line{request(index).program};
        line.insert(line.end(), request(index).arguments.begin(), request(index).arguments.end());
        return line;
    }
};

} // namespace rondelix
