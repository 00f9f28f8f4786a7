// groups.h -- the rule core: completed groups, clearing with scoring,
// collapse of the holes, chains, and the level targets.
#pragma once

// Finds, clears, scores and collapses until a pass clears nothing.
void resolveWell();

// Marks every row run, column run and 3x3 box holding the nine digits once each.
void findGroups();

// Clears the marked cells into holes and adds the pass's score.
void clearAndScore();

// Lets the cells above every hole drop into it until no hole is left.
void collapseWell();

// Completes the level when all three targets are met and sets up the next one.
void checkLevelTargets();
