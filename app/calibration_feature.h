#pragma once
// Calibration of the eight coefficients, reached from the context menu of
// their boxes txtChannel(2) to (9).

class MainWindow;

void installCalibration(MainWindow &window);
// Opens the calibration of the coefficient in box txtChannel(box), 2 to 9.
void openCalibration(MainWindow &window, int box);
