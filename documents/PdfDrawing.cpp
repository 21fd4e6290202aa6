// clsPDF: graphics lines, painting operators, paths and free text.
#include "documents/PdfNumberText.h"
#include "documents/PdfWriter.h"

#include <cmath>

namespace orv {

// ------------------------------------------------------------ graphics lines

QByteArray clsPDF::ColorOperatorText(int32_t colour) {
  const int red = colour & 0xFF;
  const int green = (colour >> 8) & 0xFF;
  const int blue = (colour >> 16) & 0xFF;
  if (red == green && green == blue) return FormatPdfNumber(float(red) / 255.0f) + " G";
  return FormatPdfNumber(float(red) / 255.0f) + " " + FormatPdfNumber(float(green) / 255.0f) + " " +
         FormatPdfNumber(float(blue) / 255.0f) + " RG";
}

void clsPDF::AddGraphicsLine(const QByteArray& line) {
  if (st_.strokeColorPending) {
    AppendToGraphics(ColorOperatorText(st_.drawColor).toUpper() + "\r");
    st_.strokeColorPending = false;
  }
  if (st_.fillColorPending) {
    AppendToGraphics(ColorOperatorText(st_.fillColor).toLower() + "\r");
    st_.fillColorPending = false;
  }
  if (st_.lineWidthPending) {
    AppendToGraphics(FormatPdfNumber(st_.drawWidth) + " w\r");
    st_.lineWidthPending = false;
  }
  AppendToGraphics(line);
  AppendToGraphics("\r", 1);
}

void clsPDF::FlushPaintOperator() {
  if (st_.pendingOperator.empty()) return;
  AppendToGraphics(st_.pendingOperator.data(), st_.pendingOperator.size());
  AppendToGraphics("\r", 1);
  st_.pendingOperator.clear();
  // Painting ends the path: a following move must be written in any case.
  st_.hasCurrentPoint = false;
}

void clsPDF::SetPaintOperator(const std::string& op) {
  if (op == st_.pendingOperator) return;
  FlushPaintOperator();
  st_.pendingOperator = op;
  Invalidate();
}

void clsPDF::SelectPaintOperator(int32_t mode) {
  switch (mode) {
    case -1: SetPaintOperator("f"); break;
    case 0: SetPaintOperator("S"); break;
    case 1: SetPaintOperator("b"); break;
    case 2: SetPaintOperator("s"); break;
    default: break;
  }
}

// -------------------------------------------------------------------- paths

void clsPDF::MoveTo(float x, float y) {
  const float yp = TurnY(y);
  if (st_.hasCurrentPoint && x == st_.currentX && yp == st_.currentY) return;
  st_.currentX = x;
  st_.currentY = yp;
  FlushPaintOperator();
  st_.hasCurrentPoint = true;
  AddGraphicsLine(FormatPdfNumber(x) + " " + FormatPdfNumber(yp) + " m");
}

void clsPDF::DrawLineTo(float x, float y) {
  const float yp = TurnY(y);
  st_.currentX = x;
  st_.currentY = yp;
  st_.hasCurrentPoint = true;
  AddGraphicsLine(FormatPdfNumber(x) + " " + FormatPdfNumber(yp) + " l");
}

void clsPDF::DrawLine(float x1, float y1, float x2, float y2) {
  SetPaintOperator("S");
  st_.currentX = x2;
  st_.currentY = TurnY(y2);
  st_.hasCurrentPoint = true;
  AddGraphicsLine(FormatPdfNumber(x1) + " " + FormatPdfNumber(TurnY(y1)) + " m " + FormatPdfNumber(x2) + " " +
                  FormatPdfNumber(TurnY(y2)) + " l");
}

void clsPDF::DrawCurveTo(float x1, float y1, float x2, float y2, float x3, float y3) {
  // The curve ends where the path now stands; a later move back to the
  // point before the curve must not be taken for a move to where we are.
  st_.currentX = x3;
  st_.currentY = TurnY(y3);
  st_.hasCurrentPoint = true;
  AddGraphicsLine(FormatPdfNumber(x1) + " " + FormatPdfNumber(TurnY(y1)) + " " + FormatPdfNumber(x2) + " " +
                  FormatPdfNumber(TurnY(y2)) + " " + FormatPdfNumber(x3) + " " + FormatPdfNumber(TurnY(y3)) +
                  " c");
}

void clsPDF::DrawBox(float x, float y, float width, float height, int32_t mode) {
  SelectPaintOperator(mode);
  st_.hasCurrentPoint = false;  // a rectangle is a closed subpath of its own
  AddGraphicsLine(FormatPdfNumber(x) + " " + FormatPdfNumber(PageHeight() - y - height) + " " +
                  FormatPdfNumber(width) + " " + FormatPdfNumber(height) + " re");
}

void clsPDF::DrawShape(int32_t mode) {
  SelectPaintOperator(mode);
  FlushPaintOperator();
}

void clsPDF::DrawCircle(float x, float y, float r, int32_t mode) {
  // Four Bézier quarter arcs; 0.5522847 puts their midpoints on the circle.
  const float k = 0.5522847f * r;
  FlushPaintOperator();
  MoveTo(x, y + r);
  DrawCurveTo(x + k, y + r, x + r, y + k, x + r, y);
  DrawCurveTo(x + r, y - k, x + k, y - r, x, y - r);
  DrawCurveTo(x - k, y - r, x - r, y - k, x - r, y);
  DrawCurveTo(x - r, y + k, x - k, y + r, x, y + r);
  DrawShape(mode);
}

// --------------------------------------------------------------------- text

void clsPDF::DrawText(float x, float y, const QString& text, float angle) {
  const QByteArray escaped = EscapePdfText(text);
  FlushPaintOperator();
  AddGraphicsLine("BT");
  AddGraphicsLine("/F1 " + IntegerText(st_.fontSize) + " Tf");
  const float yp = TurnY(y);
  if (angle == 0.0f) {
    AddGraphicsLine(FormatPdfNumber(x) + " " + FormatPdfNumber(yp) + " Td");
  } else {
    const QByteArray c = FormatPdfNumber(float(std::cos(double(angle))));
    const QByteArray s = FormatPdfNumber(float(std::sin(double(angle))));
    const QByteArray minusS = s.startsWith('-') ? s.mid(1) : "-" + s;
    AddGraphicsLine(c + " " + s + " " + minusS + " " + c + " " + FormatPdfNumber(x) + " " + FormatPdfNumber(yp) +
                    " Tm");
  }
  // Tj shows the text at the point itself; the line operator ' would first
  // move down by whatever leading happens to be in force.
  AddGraphicsLine("(" + escaped + ") Tj");
  AddGraphicsLine("ET");
  st_.hasCurrentPoint = false;  // no path continues across a text object
}

}  // namespace orv
