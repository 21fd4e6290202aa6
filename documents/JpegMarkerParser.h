#pragma once
// clsJPEGasm: reads a JPEG file into memory, walks its marker segments,
// collects picture facts, the comments and a readable report, and writes the
// file anew with the comment list of this object in place of the file's
// comments, optionally without chosen application segments.
//
// No member throws: failures return false (or 0) and leave a text in ErrorMsg.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace orv {

struct JpegSegment {
  QString Marker;        // four upper-case hex digits, such as "FFDB"
  int32_t StartPos = 0;  // position of the marker's first byte, counted from 1
  int32_t SegLength = 0; // bytes from the marker's first byte to the segment's end
};

class clsJPEGasm {
 public:
  clsJPEGasm() = default;
  ~clsJPEGasm();
  clsJPEGasm(const clsJPEGasm&) = delete;
  clsJPEGasm& operator=(const clsJPEGasm&) = delete;

  bool ReadInJPEGfile(const QString& PathFilename);
  void Clear();
  // Number of the new comment; 0 (nothing added) for an empty text or one of
  // 65534 or more characters.
  int32_t AddComment(const QString& sNewComment);
  void RemoveAllComments();
  bool WriteOutJPEGfile(const QString& sPathFilename);

  bool HasPhotoShopComments() const { return st_.HasPhotoShopComments; }
  bool HasEXIFHeader() const { return st_.HasEXIFHeader; }
  bool HasPreview() const { return st_.HasPreview; }
  bool ParsedWithoutProblems() const { return st_.ParsedWithoutProblems; }
  QString SourceFilename() const { return st_.SourceFilename; }
  int32_t FileSizeSourceJPEG() const { return st_.FileSizeSourceJPEG; }
  QString DestinationFilename() const { return st_.DestinationFilename; }
  QString JPEGVersion() const { return st_.JPEGVersion; }
  int32_t HowManyComments() const { return st_.HowManyComments; }
  // Entry lIndex (from 1) of the comment list, empty when there is none.
  QString Comment(int32_t lIndex) const;
  // Replaces entry lIndex; an empty text deletes it and the later ones move up.
  void Comment(int32_t lIndex, const QString& text);
  QString Resolution() const { return st_.Resolution; }
  QString FullReport() const { return st_.FullReport; }
  int32_t XsizePicture() const { return st_.XsizePicture; }
  int32_t YsizePicture() const { return st_.YsizePicture; }
  int32_t XsizePreview() const { return st_.XsizePreview; }
  int32_t YsizePreview() const { return st_.YsizePreview; }
  int32_t ColorDepthInBit() const { return st_.ColorDepthInBit; }
  QString ColorDepthAsText() const { return st_.ColorDepthAsText; }
  QString ErrorMsg() const { return st_.ErrorMsg; }
  void RemoveAllAppHeaders(bool flgRemoveAllAppHeaders) { st_.RemoveAllAppHeaders = flgRemoveAllAppHeaders; }
  bool RemoveAllAppHeaders() const { return st_.RemoveAllAppHeaders; }
  void RemovePhotoShopHeader(bool flgRemovePhotoShopHeader) { st_.RemovePhotoShopHeader = flgRemovePhotoShopHeader; }
  bool RemovePhotoShopHeader() const { return st_.RemovePhotoShopHeader; }
  void RemoveExifHeader(bool flgRemoveExifHeader) { st_.RemoveExifHeader = flgRemoveExifHeader; }
  bool RemoveExifHeader() const { return st_.RemoveExifHeader; }

  // The segments met by the last walk, in file order.
  int32_t SegmentCount() const { return st_.SegmentCount; }
  const std::vector<JpegSegment>& Segments() const { return st_.Segments; }

 private:
  struct JpegState {
    bool HasPreview = false;
    bool HasEXIFHeader = false;
    bool HasPhotoShopComments = false;
    bool ParsedWithoutProblems = false;
    QString SourceFilename;
    int32_t FileSizeSourceJPEG = 0;
    QString DestinationFilename;
    QString JPEGVersion;
    int32_t HowManyComments = 0;
    QStringList Comments;
    QString FullReport;
    QString Resolution;
    int32_t XsizePreview = 0;
    int32_t YsizePreview = 0;
    int32_t XsizePicture = 0;
    int32_t YsizePicture = 0;
    int32_t ColorDepthInBit = 0;
    QString ColorDepthAsText;
    QString ErrorMsg;
    bool RemoveExifHeader = false;
    bool RemovePhotoShopHeader = false;
    bool RemoveAllAppHeaders = false;
    int32_t SegmentCount = 0;
    std::vector<JpegSegment> Segments;
  };

  void ResetState();
  bool ReadFileIntoBuffer(const QString& path);
  bool ParseFile();
  bool WriteNewFile();
  bool WriteBlockOfData(const std::vector<uint8_t>& bytes, int64_t start, int64_t length, int& fd);

  // Positions count from 1; reading outside the buffer throws OrvenilError 9.
  int ByteAt(int64_t p) const;
  int ReadWordAt(int64_t p) const;
  QString HexWordAt(int64_t p) const;
  QString CommentTextAt(int64_t first, int64_t last) const;
  void AppendToReport(const QString& text);
  void AddSegment(const QString& marker, int32_t start, int32_t length);
  int32_t AddCommentText(const QString& text);
  bool IsRemovedOnWriting(const QString& marker) const;

  JpegState st_;
  std::vector<uint8_t> fileBuffer_;
};

}  // namespace orv
