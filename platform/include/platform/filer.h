// The component stream: the writer of the class library's binary form ("TPF0", each
// component with its class name, name, stored published properties, the properties a
// class defines for itself, and the children it writes), and its conversion to the
// readable text form. Reading a stream back into components is not part of the system.
#pragma once
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/classes.h"
#include "platform/types.h"
#include "platform/typinfo.h"

class TCollection;
class TReader;
class TWriter;

// Value tags of the binary form.
enum TValueType : std::uint8_t {
  vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5, vaString = 6,
  vaIdent = 7, vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11, vaLString = 12, vaNil = 13,
  vaCollection = 14, vaSingle = 15, vaCurrency = 16, vaDate = 17, vaWString = 18, vaInt64 = 19,
};

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

// What a class's DefineProperties(TFiler*) talks to: a property that is not published
// but stored as data the class writes itself (simple values or a block of bytes).
class TFiler : public TObject {
  DECLARE_CLASS(TFiler, TObject)
public:
  TFiler(TStream* Stream, int BufSize);
  TStream* Stream() const { return stream_; }
  TComponent* Root() const { return root_; }
  virtual void SetRoot(TComponent* Value) { root_ = Value; }
  // Stored only when HasData is true and the procedure for this direction is given.
  virtual void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                              bool HasData) = 0;
  virtual void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                                    bool HasData) = 0;

protected:
  TStream* stream_;
  int bufSize_;
  TComponent* root_ = nullptr;
};

class TWriter : public TFiler {
  DECLARE_CLASS(TWriter, TFiler)
public:
  // Bytes are gathered in a buffer of BufSize and reach the stream when it is full,
  // at the end of each top-level component, at FlushBuffer and when the writer is freed.
  TWriter(TStream* Stream, int BufSize);
  ~TWriter() override;

  void WriteSignature();
  // Root set to Component, the signature, then the component.
  void WriteRootComponent(TComponent* Component);
  // The component with its properties and then its children (GetChildren with Root).
  // EWriteError when the same component was already written by this writer.
  void WriteComponent(TComponent* Component);
  void WriteProperties(TPersistent* Instance);
  void WriteCollection(TCollection* Value);

  void WriteListBegin();
  void WriteListEnd();
  // The smallest integer tag that holds the value.
  void WriteInteger(std::int64_t Value);
  void WriteFloat(long double Value);
  void WriteBoolean(bool Value);
  // Plain bytes when every character is ASCII, else UTF-16 ("wide") from the UTF-8 text.
  void WriteString(const std::string& Value);
  // "True", "False", "nil" and "Null" become their own tags.
  void WriteIdent(const std::string& Ident);
  // A short string without tag: class names, component names, property names.
  void WriteStr(const std::string& Value);
  void WriteSet(const std::vector<std::string>& Names);
  void WriteBinary(const TStreamProc& WriteData);

  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

  void FlushBuffer();
  // Bytes written so far, buffered ones included.
  std::int64_t Position() const { return flushed_ + std::int64_t(buffer_.size()); }

  // The text that names Component in a reference from this stream: its name when the
  // root owns it, "Owner" for the root itself, else owner name and name; "" when unnamed.
  std::string ComponentReference(TComponent* Component) const;

private:
  void WriteValue(TValueType Value);
  void WriteBuffer(const void* Data, std::size_t Count);
  void WritePropName(const std::string& Name);
  void WriteProperty(TPersistent* Instance, const TPropInfo& Prop);

  std::vector<std::uint8_t> buffer_;
  std::int64_t flushed_ = 0;
  std::string propPath_;
  std::set<const TComponent*> written_;
  int depth_ = 0;
};

// The binary form at Input's position as text into Output: "object Name: Class" lines,
// "Name = value" properties, lists in round brackets, bytes in curly brackets,
// collection items in angle brackets, "end". EReadError on a stream that is not a
// component stream or ends early; Output is then left untouched.
void ObjectBinaryToText(TStream* Input, TStream* Output);

// Colour names the streams use for the standard and system colours.
bool ColorToIdent(TColor Color, std::string& Ident);
