// savedriver.cpp -- the high-score save on its own, for fault injection:
// "record" loads highscores.dat as start-up does and records a new best
// score (the name dialog stands in, typing "Faulty"), which rewrites the
// file; "start" only loads, as the next start of the game would.
#include "scores/newscore.h"
#include "scores/table.h"
#include "support/seams.h"
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    bool record = argc == 2 && !strcmp(argv[1], "record");
    if (argc != 2 || (!record && strcmp(argv[1], "start") != 0)) {
        fprintf(stderr, "usage: savedriver record|start\n");
        return 2;
    }
    loadHighScores();
    sortHighScores();
    if (record) {
        testPlayerName = "Faulty";
        recordHighScore(987654);
    }
    return 0;
}
