#pragma once
// TOpenDialog: asks the user for a file to open; only an existing one when
// Options has FileMustExist.

#include "widgets/FileDialogBase.h"

namespace vivizu {

class TOpenDialog : public TFileDialogBase {
  Q_OBJECT

 public:
  explicit TOpenDialog(QObject* owner = nullptr) : TFileDialogBase(owner) {}
  bool IsSaveDialog() const override { return false; }
};

}  // namespace vivizu
