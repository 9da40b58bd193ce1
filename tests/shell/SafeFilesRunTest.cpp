#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "support/RunGame.h"

namespace {

// Shell helpers for the cases. 12345 is a stranger who owns only what a case gives it; $ME is the
// player. plant NAME TARGET: the stranger's link in a folder like /tmp (sticky, writable by all)
// to a file of ours, which a read must not follow either. theirs FILE: the stranger's file, open to
// all. cfg FILE: settings of ours, whose inode `same` checks later. stop SIGNAL: interrupts a
// headless run once it has begun.
constexpr const char* kHelpers = R"sh(D=.local/share/boltfever
plant() { mkdir -p -m 1777 shared && echo secret >victim && chown $ME victim && ln -s $2 shared/$1 && chown -h 12345 shared/$1; }
theirs() { mkdir -p -m 1777 shared && touch $1 && chmod 666 $1 && chown 12345 $1; }
cfg() { head -c 16 /dev/zero >$1 && chown $ME $1 && stat -c %i $1 >inode; }
same() { test $(stat -c %i $1) = $(cat inode); }
run() { boltfever --headless --frames 3 "$@"; }
maps() { cp $GAME_DIR/maps.dat . && printf "$1" | dd of=maps.dat bs=1 seek=$2 conv=notrunc status=none; }
stop() { boltfever --headless --record r.bfr --report r.json & for i in $(seq 200); do test -e r.bfr.tmp && break; sleep 0.05; done; sleep 0.3; kill -$1 $!; wait $!; }
finished() { ! test -e r.bfr.tmp && test -s r.json && test -s $D/boltfever.cfg && boltfever --headless --replay r.bfr; }
)sh";

// Who plays ## set-up, as root ## the command, as the player ## status ## the one line said, or
// nothing ## a shell test of the files afterwards, as root. Root plays as on this machine and in
// CI; nobody (uid 65534) where whose file it is decides.
constexpr const char* kCases = R"cases(
both ## plant r.json ../victim ## run --report shared/r.json ## 2 ## shared/r.json: another user's link in a shared folder; not followed ## test $(cat victim) = secret && ! test -e .local
root ## plant f ../v && mkdir v ## run --dump-frames shared/f ## 2 ## shared/f: another user's link ## test -z "$(ls v)"
both ## plant r.json ../victim && chown -h $ME shared/r.json ## run --report shared/r.json ## 0 ## ## grep -q seed victim
root ## plant r.json ../victim && chmod 777 shared ## run --report shared/r.json ## 0 ## ## grep -q seed victim
both ## plant boltfever.cfg ../victim ## cd shared && run ## 0 ## boltfever.cfg: another user's link in a shared folder; not followed; playing on the defaults ## test $(cat victim) = secret
both ## plant boltfever-keys.txt ../keys && cfg shared/boltfever.cfg ## cd shared && SDL_VIDEODRIVER=dummy boltfever --mute --frames 2 ## 0 ## boltfever-keys.txt: another user's link in a shared folder; not followed (the default keys stay) ## ! test -e keys
both ## plant boltfever-keys.txt ../victim && cfg shared/boltfever.cfg ## cd shared && SDL_VIDEODRIVER=dummy boltfever --mute --frames 2 ## 0 ## boltfever-keys.txt: another user's link in a shared folder; not followed (the default keys stay) ## test $(cat victim) = secret
both ## plant in.txt ../victim ## run --input shared/in.txt ## 2 ## shared/in.txt: another user's link in a shared folder; not followed ##
both ## plant r.bfr ../victim ## run --replay shared/r.bfr ## 2 ## shared/r.bfr: another user's link in a shared folder; not followed ##
both ## theirs shared/r.json.tmp && echo old >shared/r.json && chown $ME shared/r.json ## run --report shared/r.json ## 2 ## shared/r.json: shared/r.json.tmp belongs to another user; nothing written, the old file stays ## test $(cat shared/r.json) = old && ! test -s shared/r.json.tmp
both ## theirs shared/boltfever.cfg.tmp && cfg shared/boltfever.cfg ## cd shared && run ## 0 ## cannot save the settings: boltfever.cfg: boltfever.cfg.tmp belongs to another user ## same shared/boltfever.cfg && ! test -s shared/boltfever.cfg.tmp
nobody ## mkdir -p $D && echo half >$D/boltfever.cfg.tmp && chown -R $ME .local ## run ## 0 ## ## test "$(ls -A $D)" = boltfever.cfg
both ## mkdir -p $D && cfg $D/boltfever.cfg && chmod 444 $D/boltfever.cfg && chown -R $ME .local ## run ## 0 ## /boltfever.cfg: read-only, so this run's changes are not saved ## same $D/boltfever.cfg
both ## echo old >r.json && chmod 444 r.json && chown $ME r.json ## run --report r.json ## 2 ## r.json: read-only; it is left as it is ## test $(cat r.json) = old
root ## echo 10 right >a.txt ## run --input a.txt --record a.txt ## 2 ## a.txt: --input reads it and --record would replace it ## test "$(cat a.txt)" = "10 right"
root ## ## run --record x --report ./x ## 2 ## ./x: both --record and --report would write it ## ! test -e x
root ## touch r.bfr && ln -s r.bfr shot.png ## run --replay r.bfr --screenshot shot.png ## 2 ## shot.png: --replay reads it and --screenshot would replace it ## ! test -s r.bfr
root ## mkdir f && touch f/000002.png ## run --input f/000002.png --dump-frames f ## 2 ## f/000002.png: --input reads it and --dump-frames would replace it ## test $(ls f) = 000002.png
root ## mkdir -p $D && cfg $D/boltfever.cfg ## run --report $HOME/$D/boltfever.cfg ## 2 ## the game keeps its settings in it and --report would replace it ## same $D/boltfever.cfg
root ## ## stop TERM ## 0 ## ## finished
root ## ## stop INT ## 0 ## ## finished
root ## ## export XDG_DATA_HOME=rel; run ## 0 ## ## ! test -e rel && test -s $D/boltfever.cfg
root ## ## export HOME=$PWD/none; run ## 0 ## none: No such file or directory (a home is never made) ## ! test -e none
nobody ## ## unset HOME; run ## 0 ## cannot save the settings: /nonexistent: No such file ## ! test -e boltfever.cfg && ! test -e /nonexistent
nobody ## ## export HOME=rel; run ## 0 ## /nonexistent: No such file ## ! test -e rel
root ## maps '\0' 0 ## run ## 0 ## maps.dat: announces no maps, yet ##
root ## maps '' 0 && echo extra >>maps.dat ## run ## 0 ## maps.dat: 6 bytes after its ##
root ## maps '\21' 4 ## run ## 0 ## maps.dat: 1 map lists monster types that make no monster (the first: map 1, type 17) ##
root ## run --level 5 --record r.bfr && printf '\350\3' | dd of=r.bfr bs=1 seek=28 conv=notrunc status=none ## run --replay r.bfr ## 2 ## r.bfr: starts at level 1000, outside 1-999 ##
)cases";

int inShell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// Each case runs in a fresh folder of its own, the player's HOME.
TEST(SafeFilesRun, NothingAnotherUserPlantedRedirectsAWriteAndEachRefusalIsOneLine) {
    std::string base = freshTestDir("safe-files"), game = BOLTFEVER_BINARY_DIR, scratch;
    const std::string nobody = inShell("command -v setpriv >/dev/null") == 0
                                   ? "setpriv --reuid=65534 --regid=65534 --clear-groups"
                               : inShell("command -v runuser >/dev/null") == 0
                                   ? "runuser -m -u nobody --"
                                   : "";
    if (!nobody.empty() && inShell(nobody + " test -x '" + base + "'") != 0) {
        // The build folder is out of nobody's reach (under /root, say): the cases and a copy of
        // the game go to a folder of their own that is not.
        char name[] = "/tmp/boltfever-safe-files-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        base = scratch = name;
        game = scratch + "/game";
        ASSERT_EQ(inShell("chmod 755 " + base + " && mkdir " + game + " && cp '" +
                          BOLTFEVER_BINARY_DIR "/boltfever' " + game + " && cp '" +
                          BOLTFEVER_BINARY_DIR "/maps.dat' " + game),
                  0);
    }
    // The `boltfever` on the PATH: the game under a time limit, as the player ($AS).
    std::ofstream(base + "/boltfever") << "#!/bin/sh\nexec timeout -k 5 60 $AS " BOLTFEVER_EMULATOR
                                          " \"$GAME_DIR/boltfever\" \"$@\"\n";
    ASSERT_EQ(::chmod((base + "/boltfever").c_str(), 0755), 0);
    std::istringstream table(kCases);
    int number = 0;
    for (std::string line; std::getline(table, line);) {
        std::vector<std::string> field;
        for (size_t at = 0, end = 0; end != std::string::npos; at = end + 2) {
            std::string text = line.substr(at, (end = line.find("##", at)) - at);
            text.erase(0, text.find_first_not_of(' '));
            field.push_back(text.erase(text.find_last_not_of(' ') + 1));
        }
        if (field.size() != 6) continue;
        ++number;
        for (const std::string who : {"root", "nobody"}) {
            if ((field[0] != who && field[0] != "both") || (who == "nobody" && nobody.empty()))
                continue;
            const std::string dir = base + "/" + std::to_string(number) + "-" + who;
            std::filesystem::create_directories(dir);
            const std::string shell =
                "cd '" + dir + "' && export HOME='" + dir + "' XDG_DATA_HOME= GAME_DIR='" + game +
                "' ME=" + (who == "root" ? "0 AS=" : "65534 AS='" + nobody + "'") + " PATH='" +
                base + "':\"$PATH\"\n" + kHelpers;
            ASSERT_EQ(inShell(shell + "chown $ME . && { :\n" + field[1] + "\n} >/dev/null"), 0)
                << line;
            const int status = inShell(shell + "{ " + field[2] + "\n} >run.log 2>&1");
            std::ifstream log(dir + "/run.log");
            const std::string output{std::istreambuf_iterator<char>(log), {}};
            const std::string& said = field[4];
            const std::string what = dir + ": " + field[2] + "\n" + output;
            EXPECT_EQ(status, std::stoi(field[3])) << what;
            EXPECT_NE(output.find(said), std::string::npos) << what;
            EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), said.empty() ? 0 : 1) << what;
            EXPECT_EQ(inShell(shell + "rm run.log\n" + field[5]), 0) << field[5] << "\n" << what;
        }
    }
    EXPECT_EQ(number, 29);
    if (!scratch.empty()) std::filesystem::remove_all(scratch);
    if (nobody.empty())
        GTEST_SKIP() << "neither setpriv nor runuser: the cases as nobody did not run";
}

}  // namespace
