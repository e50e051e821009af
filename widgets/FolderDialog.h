#pragma once
// TFolderDialog: asks the user for a folder; the one chosen is in FileName.

#include "widgets/FileDialogBase.h"

namespace vivizu {

class TFolderDialog : public TFileDialogBase {
  Q_OBJECT

 public:
  explicit TFolderDialog(QObject* owner = nullptr) : TFileDialogBase(owner) {}
  bool IsSaveDialog() const override { return false; }
  bool ChoosesFolder() const override { return true; }
};

}  // namespace vivizu
