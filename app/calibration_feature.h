#pragma once
// Calibration of the eight coefficients, reached from the context menu of
// their boxes txtChannel(2) to (9).

class MainWindow;

void installCalibration(MainWindow &window);
// Opens the calibration of the coefficient in box txtChannel(box), 2 to 9.
void openCalibration(MainWindow &window, int box);
// Checks the chain of calibrations.jsonl and says, in a box that does not
// block, whether it is whole or where it breaks.
void verifyCalibrationHistory(MainWindow &window);
