list(APPEND VOLTMETR_CORE_SOURCES
  app/host.h app/version.h app/onebased.h app/runstate.h app/randomsource.h
  app/procedury.h app/procedury.cpp
  app/oledate.h app/oledate.cpp)
list(APPEND VOLTMETR_GUI_SOURCES
  app/qthost.h app/qthost.cpp
  app/application.h app/application.cpp)
