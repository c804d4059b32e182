list(APPEND VOLTMETR_GUI_SOURCES
  ui/windowhost.h ui/windowcontext.h ui/windowflow.h
  ui/twips.h ui/twips.cpp
  ui/designelements.h ui/designelements.cpp
  ui/qthost.h ui/qthost.cpp
  ui/application.h ui/application.cpp
  ui/info.h ui/info.cpp)
