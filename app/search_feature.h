#pragma once

class MainWindow;

// "Find the module…" in the context menus of the station box and the port list.
void installSearch(MainWindow &window);
// Opens the search dialog, or brings the open one to the front; returns at once.
void openSearch(MainWindow &window);
