list(APPEND VOLTMETR_CORE_SOURCES
  results/reportkey.h
  results/info2.h results/info2.cpp
  results/reportdecoder.h results/reportdecoder.cpp
  results/reportfields.h results/reportfields.cpp
  results/reportextract.h results/reportextract.cpp
  results/classlist.h results/classlist.cpp
  results/schooldatabase.h results/schooldatabase.cpp)
list(APPEND VOLTMETR_GUI_SOURCES
  results/souhrn.h results/souhrn.cpp)
