#pragma once
// clsPDF: a PDF 1.1 writer modelled on a line printer. Lines of Courier text
// fill pages of a fixed number of lines; on the same pages the caller may draw
// paths, boxes, circles, free text and inline pictures. Caller coordinates are
// points from the top left corner of the page, y growing downwards.
//
// The document is built in memory as bytes (Windows-1252 text); `Value` hands
// out the document so far, `SavePDF` writes it to a file.
#include "foundation/FastReplace.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orv {

class clsPDF {
 public:
  clsPDF();

  // Events, raised synchronously inside the member that starts or ends a
  // page. A handler may draw; the drawing lands on that page.
  std::function<void()> PageFinished;
  std::function<void()> PageStarted;

  // Colours are 0x00BBGGRR (red in the low byte).
  void Color(int32_t colour);  // sets DrawColor, then FillColor
  int32_t DrawColor() const { return st_.drawColor; }
  void DrawColor(int32_t colour);
  float DrawWidth() const { return st_.drawWidth; }
  void DrawWidth(float width);
  bool DropBlankPages() const { return st_.dropBlankPages; }
  void DropBlankPages(bool drop);
  int32_t FillColor() const { return st_.fillColor; }
  void FillColor(int32_t colour);
  // -1 fill, 0 stroke, 1 close-fill-stroke, 2 close-stroke.
  int32_t FillMode() const { return st_.fillMode; }
  void FillMode(int32_t mode);
  int16_t FontSize() const { return st_.fontSize; }
  void FontSize(int16_t size);
  // Page height: the paper height in portrait, the paper width in landscape.
  float Height() const;
  void Height(float points);  // portrait paper height; PaperSize becomes 0
  float LeftMargin() const { return st_.leftMargin; }
  void LeftMargin(float points);
  int32_t LineNumber() const { return st_.lineNumber; }
  int16_t LinesPerPage() const { return st_.linesPerPage; }
  void LinesPerPage(int16_t count);
  QString NewPageString() const { return st_.newPageString; }
  void NewPageString(const QString& text);
  int32_t PageNumber() const { return st_.pageCount; }
  int32_t Orientation() const { return st_.orientation; }
  void Orientation(int32_t orientation);  // 0 portrait, other landscape
  int32_t PaperSize() const { return st_.paperSize; }
  void PaperSize(int32_t code);  // 1 … 8 = A0 … A7
  float TopMargin() const { return st_.topMargin; }
  void TopMargin(float points);
  float Width() const;
  void Width(float points);  // portrait paper width; PaperSize becomes 0

  // Starts a new, empty document; non-zero arguments replace FontSize and
  // LinesPerPage.
  void Clear(int16_t fontSize = 0, int16_t linesPerPage = 0);

  // Drawing. Modes as FillMode; angle in radians.
  void DrawBox(float x, float y, float width, float height, int32_t mode);
  void DrawCircle(float x, float y, float r, int32_t mode);
  void DrawCurveTo(float x1, float y1, float x2, float y2, float x3, float y3);
  void DrawLine(float x1, float y1, float x2, float y2);
  void DrawLineTo(float x, float y);
  // Pictures as inline images with 8, 4, 2 or 1 bits per component. The
  // picture is a QImage or the name of a picture file; transparent pixels are
  // laid over white. Throws OrvenilError 481 for an unreadable or empty one.
  void DrawPicture(float x, float y, float width, float height, const QImage& picture, bool grey);
  void DrawPicture(float x, float y, float width, float height, const QString& file, bool grey);
  void DrawPicture4(float x, float y, float width, float height, const QImage& picture, bool grey);
  void DrawPicture4(float x, float y, float width, float height, const QString& file, bool grey);
  void DrawPicture2(float x, float y, float width, float height, const QImage& picture, bool grey);
  void DrawPicture2(float x, float y, float width, float height, const QString& file, bool grey);
  void DrawPicture1(float x, float y, float width, float height, const QImage& picture, bool grey);
  void DrawPicture1(float x, float y, float width, float height, const QString& file, bool grey);
  void DrawShape(int32_t mode);
  // One line of text with its baseline at (x, y).
  void DrawText(float x, float y, const QString& text, float angle = 0.0f);
  void MoveTo(float x, float y);

  // Ends the open page, or emits a blank page when none is open and
  // DropBlankPages is false; non-zero arguments apply from the next page.
  void NewPage(int16_t fontSize = 0, int16_t linesPerPage = 0);
  void PrintLine(const QString& text);
  // Lines separated by CR LF, LF CR, CR CR, LF or CR (the first kind found);
  // a line equal to NewPageString starts a new page.
  void PrintText(const QString& text);
  // Prints a Windows-1252 text file; a missing or empty file prints one empty
  // line. Throws OrvenilError 75 when the file cannot be read.
  void PrintFile(const QString& path);
  // The complete document at this moment; an open page stays open and keeps
  // its drawings for what follows.
  QByteArray Value();
  // Throws OrvenilError 75 when the file cannot be written.
  void SavePDF(const QString& path);

 private:
  struct State {
    int32_t drawColor = 0;
    float drawWidth = 0;
    bool dropBlankPages = true;
    int32_t fillColor = 0;
    int32_t fillMode = 0;
    int16_t fontSize = 10;
    float paperHeight = 842;
    int16_t linesPerPage = 72;
    float leftMargin = 80;
    float topMargin = 60;
    QString newPageString;
    int32_t orientation = 0;
    int32_t paperSize = 5;
    float paperWidth = 596;
    std::vector<int32_t> pageObjects;  // [k] = object number of page k (1-based)
    int32_t pageCount = 0;
    std::vector<int32_t> objectOffsets;  // [n] = byte offset of object n
    int32_t objectCount = 0;
    int32_t documentLength = 0;
    int32_t graphicsLength = 0;
    int32_t snapshotLength = 0;
    bool snapshotCurrent = false;
    int16_t lineNumber = 0;
    int32_t streamStart = 0;
    bool strokeColorPending = false;
    bool lineWidthPending = false;
    bool fillColorPending = false;
    // The current point in PDF coordinates. Only known while a path is being
    // built: a painted path and a new content stream leave none.
    bool hasCurrentPoint = false;
    float currentX = 0;
    float currentY = 0;
    std::string pendingOperator;
  };

  // Document and graphics buffers.
  void AppendToDocument(const char* data, size_t size);
  void AppendToDocument(const QByteArray& text) { AppendToDocument(text.constData(), size_t(text.size())); }
  void WriteDocumentLine(const QByteArray& line);
  void AppendToGraphics(const char* data, size_t size);
  void AppendToGraphics(const QByteArray& text) { AppendToGraphics(text.constData(), size_t(text.size())); }

  // Objects.
  void BeginObject();
  void ReserveObject();
  void BeginReservedObject(int32_t number);
  void BeginDictObject();
  void EndDictObject();

  void WriteDocumentHeader();
  void WriteDocumentTrailer();
  void StartPage();
  void EndPage();
  // A new content stream starts from the default graphics state, so colours
  // and width other than the defaults must be written again before the next
  // drawing.
  void MarkGraphicsStatePending();

  // Graphics lines and painting operators.
  void AddGraphicsLine(const QByteArray& line);
  void FlushPaintOperator();
  void SetPaintOperator(const std::string& op);
  void SelectPaintOperator(int32_t mode);
  static QByteArray ColorOperatorText(int32_t colour);

  QByteArray EscapePdfText(const QString& text);
  float PageHeight() const;
  float TurnY(float y) const { return PageHeight() - y; }
  void Invalidate() { st_.snapshotCurrent = false; }

  void DrawPictureWithDepth(float x, float y, float width, float height, const QImage& picture,
                            bool grey, int bits);
  static QImage LoadPicture(const QString& file);

  State st_;
  std::string document_;  // capacity = size(); bytes in use = st_.documentLength
  std::string graphics_;  // capacity = size(); bytes in use = st_.graphicsLength
  FastReplaceBuffer replacer_;  // work area of the escaping, one per writer
};

}  // namespace orv
