# files of this folder are listed here
list(APPEND VOLTMETR_GUI_SOURCES
  ui/windowhost.h ui/windowcontext.h
  ui/twips.h ui/twips.cpp
  ui/designelements.h ui/designelements.cpp
  ui/konec.h ui/konec.cpp
  ui/info.h ui/info.cpp)
