#pragma once

class MainWindow;

// "Find the module…" in the context menus of the station box and the port list.
void installSearch(MainWindow &window);
// Opens the search dialog.
void openSearch(MainWindow &window);
