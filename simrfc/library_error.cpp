#include "library_error.h"

#include <utility>

namespace simrfc {

const char* GroupKey(ErrorGroup group) {
  switch (group) {
    case ErrorGroup::Program:
      return "RFC_ERROR_PROGRAM";
    case ErrorGroup::Communication:
      return "RFC_ERROR_COMMUNICATION";
    case ErrorGroup::Logon:
      return "RFC_ERROR_LOGON_FAILURE";
    case ErrorGroup::SystemFailure:
      return "RFC_ERROR_SYSTEM_FAILURE";
    case ErrorGroup::ApplicationException:
      return "RFC_ERROR_APPLICATION_EXCEPTION";
    case ErrorGroup::Resource:
      return "RFC_ERROR_RESOURCE";
  }
  return "RFC_ERROR_PROGRAM";
}

LibraryError MakeError(ErrorGroup group, std::string status, std::string message,
                       std::vector<std::string> details) {
  LibraryError error;
  error.group = group;
  error.key = GroupKey(group);
  error.status = std::move(status);
  error.message = std::move(message);
  error.details = std::move(details);
  return error;
}

}  // namespace simrfc
