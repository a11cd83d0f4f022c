// The classic font names the forms and charts ask for, mapped to free fonts with the
// same metrics where there are any (Liberation), else to DejaVu, so that layouts made
// for those names keep their widths.
#include <QFont>
#include <QStringList>

#include "platform/graphics.h"

void InstallFontSubstitutes() {
  const QStringList sans{"Liberation Sans", "DejaVu Sans"};
  const QStringList mono{"Liberation Mono", "DejaVu Sans Mono"};
  const QStringList serif{"Liberation Serif", "DejaVu Serif"};
  for (const char* name : {"MS Sans Serif", "Arial", "Tahoma", "Verdana", "Helvetica", "MS Shell Dlg",
                           "MS Shell Dlg 2", "Microsoft Sans Serif"})
    QFont::insertSubstitutions(name, sans);
  for (const char* name : {"Courier New", "Courier"}) QFont::insertSubstitutions(name, mono);
  QFont::insertSubstitutions("Times New Roman", serif);
}
