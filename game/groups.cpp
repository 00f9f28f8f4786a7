// groups.cpp -- the rule core (to be written).
#include "game/groups.h"
#include "game/well.h"

void resolveWell() {}
void findGroups() {}
void clearAndScore() {}
void collapseWell() {}
void checkLevelTargets() {}
