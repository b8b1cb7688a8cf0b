#pragma once
// The certificate's layout on A4 pages, made by Qt's own PDF writer; the text
// stays text, so pdftotext and a search in a viewer find every field.

#include "device/calibration_record.h"

#include <QString>

// Writes the PDF atomically; on failure returns false with the reason in *error.
bool saveCertificatePdf(const QString &path, const calibration::Document &document, QString *error);
