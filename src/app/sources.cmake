list(APPEND VOLTMETR_CORE_SOURCES
  app/host.h app/version.h app/onebased.h app/runstate.h app/tasklog.h app/randomsource.h
  app/procedury.h app/procedury.cpp
  app/oledate.h app/oledate.cpp
  app/filewrite.h app/filewrite.cpp
  app/windows1250.h app/windows1250.cpp
  app/programlog.h app/programlog.cpp)
