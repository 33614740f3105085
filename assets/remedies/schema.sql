-- SPDX-License-Identifier: MIT
-- Remedy database of the colour test: one text per gem and language.
-- Statements end with ";" at the end of a line. Created in SQL dialect 1, UTF8.
CREATE TABLE RIMEDI (
  LINGUA VARCHAR(3) NOT NULL,
  PIETRA VARCHAR(40) NOT NULL,
  NOTE BLOB SUB_TYPE TEXT SEGMENT SIZE 4096
);
CREATE INDEX IX_RIMEDI_LINGUA_PIETRA ON RIMEDI (LINGUA, PIETRA);
