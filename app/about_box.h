#pragma once
// "About": the version, the licence, where the program keeps its files, and
// what its menus reach.

#include <QString>

class MainWindow;

QString aboutText(const MainWindow &window);
// Shown with open(): it may be asked for inside a read's wait.
void showAbout(MainWindow &window);
