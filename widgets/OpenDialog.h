#pragma once
// TOpenDialog: asks the user for an existing file to open.

#include "widgets/FileDialogBase.h"

namespace vivizu {

class TOpenDialog : public TFileDialogBase {
  Q_OBJECT

 public:
  explicit TOpenDialog(QObject* owner = nullptr) : TFileDialogBase(owner) {}
  bool IsSaveDialog() const override { return false; }
};

}  // namespace vivizu
