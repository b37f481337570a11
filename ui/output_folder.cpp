#include "ui/output_folder.h"

#include <utility>

#include "app/app_settings.h"

namespace vesko {

OutputFolderNews& OutputFolderChanges() {
  static OutputFolderNews news;
  return news;
}

void ChangeOutputFolder(std::string folder) {
  SetOutputFolder(std::move(folder));
  emit OutputFolderChanges().changed(QString::fromStdString(OutputFolder()));
}

}  // namespace vesko
