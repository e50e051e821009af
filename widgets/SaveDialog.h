#pragma once
// TSaveDialog: asks the user for a file name to save to.

#include "widgets/FileDialogBase.h"

namespace vivizu {

class TSaveDialog : public TFileDialogBase {
  Q_OBJECT

 public:
  explicit TSaveDialog(QObject* owner = nullptr) : TFileDialogBase(owner) {}
  bool IsSaveDialog() const override { return true; }
};

}  // namespace vivizu
