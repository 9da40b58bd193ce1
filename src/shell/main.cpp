// Bolt Fever: parses the command line, picks the backend (the window, or headless), and runs the
// game. The window is SDL's on a desktop and the page's canvas in a browser.

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/ControlsPage.h"
#include "platform/Files.h"
#include "platform/InputScript.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/PlayerInput.h"
#include "platform/PngWriter.h"
#include "platform/Replay.h"
#include "platform/Session.h"
#include "platform/Window.h"
#include "platform/WorldClient.h"
#include "platform/headless/HeadlessBackend.h"
#include "render/ContactSheet.h"
#include "render/Overlay.h"
#include "render/TestCard.h"
#include "shell/AutoPlayer.h"
#include "shell/CommandLine.h"
#include "shell/GameHooks.h"
#include "shell/MainLoop.h"
#include "sound/SampleBank.h"
#include "sound/SoundManager.h"
#include "state/HighScoreFile.h"
#include "state/HighScores.h"
#include "world/LevelFile.h"

namespace {

// --contact-sheet and --test-card: pictures for people to look at; no game runs.
int writePictures(const SOptions& options) {
    std::string error;
    for (const std::string* path : {&options.testCard, &options.contactSheet})
        if (!path->empty() && !checkOutputPath(*path, error)) {
            reportLine(error);
            return 2;
        }
    if (!options.testCard.empty()) {
        static uint16_t card[kScreenPixels];
        drawTestCard(card);
        if (!writePng(options.testCard, card, kScreenWidth, kScreenHeight, 1, error)) {
            reportLine(error);
            return 1;
        }
    }
    if (!options.contactSheet.empty() && !writeContactSheet(options.contactSheet, error)) {
        reportLine(error);
        return 1;
    }
    return 0;
}

// A file the game keeps beside its settings; empty when there is nowhere to keep one.
std::string besideSettings(const char* name) {
    const std::string settings = settingsPath();
    return settings.empty() ? "" : settings.substr(0, settings.rfind('/') + 1) + name;
}

// The world table: the one --world names (kept beside the settings for the runs to come; "off"
// forgets it), else the one kept there. One that is not an address is said, and the page has
// no world table. A demo or a replay played back has none: nothing is sent but by a player.
void nameWorldTable(const SOptions& options) {
    CWorldClient& world = CWorldClient::instance();
    world.awaitAnswers = options.headless;
    if (options.autoplay || !options.replay.empty()) return;
    const std::string file = besideSettings(kWorldFileName);
    std::string error;
    if (options.world.empty()) {
        if (!file.empty()) loadWorldUrl(file, world.url, error);
        if (!error.empty()) reportLine(error);
        return;
    }
    if (options.world == "off") {
        if (!file.empty() && isRegularFile(file)) removeOwnFile(file);
        return;
    }
    if (!parseWorldUrl(options.world, world.url, error)) {
        reportLine(error + " (no world table)");
        return;
    }
    const std::string line = world.url + "\n";
    if (file.empty() || (folderOf(file) + "/" == userDataDir() && !makeUserDataDir(error)) ||
        !writeFileAtomically(file, line.data(), line.size(), error))
        reportLine("the world table is named for this run only: " +
                   (error.empty() ? std::string("no place to keep it") : error));
}

// A frame --dump-frames writes: six digits and ".png".
bool isFrameName(const std::string& name) {
    return name.size() == 10 && name.compare(6, 4, ".png") == 0 &&
           std::all_of(name.begin(), name.begin() + 6, [](char c) { return c >= '0' && c <= '9'; });
}

// No file is both read and written by a run, nor written twice: the input would be lost, or one
// of the outputs.
bool checkDistinctFiles(const SOptions& options, std::string& message) {
    const std::string settings = settingsPath();
    const std::string keys = besideSettings(CControls::kFileName);
    // An input says what reads it; an output names its option.
    struct SFile {
        const char* what;
        std::string path;
        bool output;
    };
    std::vector<SFile> files = {
        {"--input reads it", options.inputScript, false},
        {"--replay reads it", options.replay, false},
        {"the game keeps its settings in it", settings, false},
        {"the game keeps its keys in it", keys, false},
        {"the game keeps its world table in it", besideSettings(kWorldFileName), false},
        {"the game reads its levels from it", findMapFile(), false},
    };
    // The high scores, and the replays of their entries.
    const std::string scoresFolder = highScoresFolder(settings);
    if (!scoresFolder.empty()) {
        files.push_back(
            {"the game keeps its high scores in it", scoresFolder + kHighScoresFileName, false});
        CHighScores table;
        std::string ignored;
        loadHighScores(scoresFolder, table, ignored);
        for (const SHighScore& entry : table.entries)
            files.push_back(
                {"a high score keeps its replay in it", scoresFolder + entry.replay, false});
    }
    for (const SFile& output : std::initializer_list<SFile>{
             {"--record", options.record, true},
             {"--report", options.report, true},
             {"--screenshot", options.screenshot, true},
             {"--audio-wav", options.audioWav, true},
             {"--contact-sheet", options.contactSheet, true},
             {"--test-card", options.testCard, true},
         })
        files.push_back(output);
    const auto clash = [&message](const std::string& path, const char* first, bool output,
                                  const char* second) {
        message = path + ": " +
                  (output ? std::string("both ") + first + " and " + second + " would write it"
                          : std::string(first) + " and " + second + " would replace it");
        return false;
    };
    for (const auto& b : files) {
        if (b.path.empty()) continue;
        if (!options.dumpFrames.empty() && isFrameName(nameOf(b.path)) &&
            sameFile(folderOf(b.path), options.dumpFrames))
            return clash(b.path, b.what, b.output, "--dump-frames");
        if (!b.output) continue;
        for (const auto& a : files) {
            if (&a == &b) break;
            if (!a.path.empty() && sameFile(a.path, b.path))
                return clash(b.path, a.what, a.output, b.what);
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    wireGameHooks();
    SOptions options;
    std::string message;
    switch (parseCommandLine(argc, argv, options, message)) {
        case ECommand::kDone:
            std::fputs(message.c_str(), stdout);
            return 0;
        case ECommand::kError:
            reportLine(message);
            return 2;
        case ECommand::kPlay:
            break;
    }

    if (options.scores) {
        CHighScores table;
        loadHighScores(highScoresFolder(settingsPath()), table, message);
        if (!message.empty()) reportLine(message);
        std::fputs(highScoresListing(table).c_str(), stdout);
        return 0;
    }
    if (!checkDistinctFiles(options, message)) {
        reportLine(message);
        return 2;
    }
    if (!options.contactSheet.empty() || !options.testCard.empty()) return writePictures(options);
    // From here on an interrupt ends the run as a QUIT does, with everything it writes finished.
    platformCatchQuitSignals();

    // Every replay the run records names the maps.dat it plays.
    setRecordingMaps(mapFileIdentity(findMapFile()));

    // Everything the run reads and everything it will write is checked before the game starts.
    uint32_t seed = options.seed ? *options.seed : static_cast<uint32_t>(std::time(nullptr));
    CSession& session = CSession::instance();
    if (!options.replay.empty()) {
        CReplayReader replay;
        std::vector<uint8_t> bytes;
        if (!readFile(options.replay, bytes, message, kMaxReplayBytes) ||
            !replay.parse(bytes.data(), bytes.size(), message)) {
            if (message.find(options.replay) != 0) message = options.replay + ": " + message;
            reportLine(message);
            return 2;
        }
        if (replay.header().startLevel > kMaxStartLevel) {
            reportLine(options.replay + ": starts at level " +
                       std::to_string(replay.header().startLevel) + ", outside 1-" +
                       std::to_string(kMaxStartLevel));
            return 2;
        }
        seed = replay.header().seed;
        options.level = replay.header().startLevel;
        session.startPlayback(replay);
    }
    nameWorldTable(options);
    CInputScript script;
    if (!options.inputScript.empty() && !script.load(options.inputScript, message)) {
        reportLine(message);
        return 2;
    }

    if (!options.report.empty() && !checkOutputPath(options.report, message)) {
        reportLine(message);
        return 2;
    }

    SSessionOptions outputs;
    outputs.frameLimit = options.frames;
    outputs.screenshotPath = options.screenshot;
    outputs.dumpDir = options.dumpFrames;
    outputs.audioWavPath = options.audioWav;
    outputs.recordPath = options.record;
    outputs.virtualClock = options.headless;
    outputs.startLevel = static_cast<uint16_t>(options.level);
    outputs.playersRun = !options.autoplay;
    if (!session.configure(outputs, seed, message)) {
        reportLine(message);
        return 2;
    }

    // The player's keys, from the file beside the settings (made with the defaults when there is
    // none), where the controls page saves them too. A window reads them, and so does a headless
    // run whose input script presses keys; a replay holds buttons and needs none.
    const auto loadKeys = [&message] {
        const std::string settings = settingsPath();
        const std::string folder = settings.substr(0, settings.rfind('/') + 1);
        if (folder == userDataDir() && !makeUserDataDir(message))
            reportLine("cannot keep the keys: " + message + " (the default keys stay)");
        else
            for (const std::string& problem : loadControls(folder + CControls::kFileName))
                reportLine(problem);
    };
    // The page makes its music here, before its first picture.
    if (!prepareSampleBank(message)) reportLine(message);
    CControlsPage::instance().volumeSource = [] { return CSoundManager::instance().masterVolume; };
    std::unique_ptr<CBackend> backend;
    if (options.headless) {
        auto headless = std::make_unique<CHeadlessBackend>();
        headless->setAudioUnlimited(options.mute);
        // The script's hands go the way a player's do: its keys through the bindings, its F1 to
        // the controls page, its mouse to the menus.
        if (!options.inputScript.empty())
            headless->setButtonSource([&script](uint32_t picture) {
                return CPlayerInput::instance().poll(script.handsAt(picture));
            });
        if (script.holdsKeys()) loadKeys();
        backend = std::move(headless);
    } else {
        // A browser keeps the settings and the high scores when told they changed.
        SWindowOptions window{options.scale, options.fullscreen, options.mute, [] {
                                  const bool scores = CHighScores::instance().takeSaved();
                                  return CSoundManager::instance().saveSettingsIfChanged() ||
                                         scores;
                              }};
        // The volume bar and the notes over the window's pictures.
        static COverlay overlay;
        overlay.volumeSource = [] { return CSoundManager::instance().masterVolume; };
        window.overlay = &overlay;
        backend = openWindow(window, message);
        if (!backend) {
            reportLine(message);
            session.abandon();
            return 1;
        }
        loadKeys();
    }
    // The automatic player draws from a generator of its own, seeded from the game's seed. Its
    // run is a demo: the levels it reaches and the volumes it tries are not the player's, and
    // none of it is saved.
    std::unique_ptr<CBackend> autoplay;
    if (options.autoplay) {
        autoplay = std::make_unique<CAutoplayBackend>(*backend, seed);
        CSoundManager::instance().saveEnabled = false;
    }
    platformStartup(autoplay ? *autoplay : *backend);
    int status = runMainLoop({seed, options.level, options.report, options.autoplay});
    // Left with the controls page open: what it changed is kept all the same.
    if (CControlsPage::instance().isOpen) CControlsPage::instance().close();
    if (status == 0) status = session.status();
    backend->handBack(status);
    return status;
}
