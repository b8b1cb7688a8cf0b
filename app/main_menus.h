#pragma once
// The menu bar above the client area: every feature beyond the window's own
// controls, findable without knowing which box to right-click.

class MainWindow;

void installMenuBar(MainWindow &window);
