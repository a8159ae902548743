-- migration profile header
CREATE TABLE qxmap100 (
  mprf INTEGER,
  sapp TEXT COLLATE RTRIM,
  tapp TEXT COLLATE RTRIM,
  vers TEXT COLLATE RTRIM,
  rele TEXT COLLATE RTRIM,
  cust TEXT COLLATE RTRIM,
  verf TEXT COLLATE RTRIM,
  relf TEXT COLLATE RTRIM,
  cusf TEXT COLLATE RTRIM,
  deph INTEGER,
  scme TEXT COLLATE RTRIM,
  apln TEXT COLLATE RTRIM
);
CREATE INDEX qxmap100_i1 ON qxmap100 (mprf);
CREATE INDEX qxmap100_i2 ON qxmap100 (vers, rele, cust);
-- related profiles
CREATE TABLE qxmap101 (
  mprf INTEGER,
  pprf INTEGER
);
CREATE INDEX qxmap101_i1 ON qxmap101 (mprf);
-- checked-out triple of a profile
CREATE TABLE qxmap105 (
  mprf INTEGER,
  dver TEXT COLLATE RTRIM,
  drel TEXT COLLATE RTRIM,
  dcus TEXT COLLATE RTRIM
);
CREATE INDEX qxmap105_i1 ON qxmap105 (mprf);
-- mapping objects
CREATE TABLE qxmap120 (
  mprf INTEGER,
  vers TEXT COLLATE RTRIM,
  rele TEXT COLLATE RTRIM,
  cust TEXT COLLATE RTRIM,
  tcpac TEXT COLLATE RTRIM,
  tcmod TEXT COLLATE RTRIM,
  tflno TEXT COLLATE RTRIM,
  stat TEXT COLLATE RTRIM,
  stbl TEXT COLLATE RTRIM,
  prtx TEXT COLLATE RTRIM,
  comt TEXT COLLATE RTRIM,
  isms INTEGER,
  vari TEXT COLLATE RTRIM
);
CREATE INDEX qxmap120_i1 ON qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno);
-- source tables and queries of a mapping object
CREATE TABLE qxmap130 (
  mprf INTEGER,
  vers TEXT COLLATE RTRIM,
  rele TEXT COLLATE RTRIM,
  cust TEXT COLLATE RTRIM,
  tcpac TEXT COLLATE RTRIM,
  tcmod TEXT COLLATE RTRIM,
  tflno TEXT COLLATE RTRIM,
  scpac TEXT COLLATE RTRIM,
  scmod TEXT COLLATE RTRIM,
  sflno TEXT COLLATE RTRIM,
  icod TEXT COLLATE RTRIM,
  qury TEXT COLLATE RTRIM
);
CREATE INDEX qxmap130_i1 ON qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno);
-- field-level mapping rules
CREATE TABLE qxmap140 (
  mprf INTEGER,
  vers TEXT COLLATE RTRIM,
  rele TEXT COLLATE RTRIM,
  cust TEXT COLLATE RTRIM,
  tcpac TEXT COLLATE RTRIM,
  tcmod TEXT COLLATE RTRIM,
  tflno TEXT COLLATE RTRIM,
  fdnm TEXT COLLATE RTRIM,
  mrul TEXT COLLATE RTRIM,
  type INTEGER,
  dnum INTEGER
);
CREATE INDEX qxmap140_i1 ON qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno);
-- functions of a mapping object
CREATE TABLE qxmap160 (
  mprf INTEGER,
  vers TEXT COLLATE RTRIM,
  rele TEXT COLLATE RTRIM,
  cust TEXT COLLATE RTRIM,
  tcpac TEXT COLLATE RTRIM,
  tcmod TEXT COLLATE RTRIM,
  tflno TEXT COLLATE RTRIM,
  func TEXT COLLATE RTRIM
);
CREATE INDEX qxmap160_i1 ON qxmap160 (mprf, vers, rele, cust, tcpac, tcmod, tflno);
-- M-script parent/child relations
CREATE TABLE qxmap170 (
  mprf INTEGER,
  vers TEXT COLLATE RTRIM,
  rele TEXT COLLATE RTRIM,
  cust TEXT COLLATE RTRIM,
  cpac TEXT COLLATE RTRIM,
  cmod TEXT COLLATE RTRIM,
  cflno TEXT COLLATE RTRIM,
  bpac TEXT COLLATE RTRIM,
  bmod TEXT COLLATE RTRIM,
  bflno TEXT COLLATE RTRIM
);
CREATE INDEX qxmap170_i1 ON qxmap170 (mprf, vers, rele, cust, cpac, cmod, cflno);
CREATE INDEX qxmap170_i2 ON qxmap170 (mprf, vers, rele, cust, bpac, bmod, bflno);
-- split information
CREATE TABLE qxmap300 (
  ttbl TEXT COLLATE RTRIM,
  stbl TEXT COLLATE RTRIM,
  flst TEXT COLLATE RTRIM
);
CREATE INDEX qxmap300_i1 ON qxmap300 (ttbl);
-- applications
CREATE TABLE qxddi100 (
  appl TEXT COLLATE RTRIM,
  extn INTEGER
);
CREATE INDEX qxddi100_i1 ON qxddi100 (appl);
-- application connections
CREATE TABLE qxddi101 (
  appl TEXT COLLATE RTRIM,
  sour TEXT COLLATE RTRIM,
  logn TEXT COLLATE RTRIM,
  pswd TEXT COLLATE RTRIM
);
CREATE INDEX qxddi101_i1 ON qxddi101 (appl);
-- tables of an application
CREATE TABLE qxddi140 (
  appl TEXT COLLATE RTRIM,
  cpac TEXT COLLATE RTRIM,
  cmod TEXT COLLATE RTRIM,
  flno TEXT COLLATE RTRIM
);
CREATE INDEX qxddi140_i1 ON qxddi140 (appl, cpac, cmod, flno);
-- fields of a table
CREATE TABLE qxddi150 (
  appl TEXT COLLATE RTRIM,
  cpac TEXT COLLATE RTRIM,
  cmod TEXT COLLATE RTRIM,
  flno TEXT COLLATE RTRIM,
  fdnm TEXT COLLATE RTRIM,
  fdno INTEGER,
  cdom TEXT COLLATE RTRIM,
  iniv TEXT COLLATE RTRIM,
  dept INTEGER,
  mand TEXT COLLATE RTRIM,
  comb TEXT COLLATE RTRIM
);
CREATE INDEX qxddi150_i1 ON qxddi150 (appl, cpac, cmod, flno);
-- child fields of a combined field
CREATE TABLE qxddi160 (
  appl TEXT COLLATE RTRIM,
  cpac TEXT COLLATE RTRIM,
  cmod TEXT COLLATE RTRIM,
  flno TEXT COLLATE RTRIM,
  fdnm TEXT COLLATE RTRIM,
  chld TEXT COLLATE RTRIM,
  sern INTEGER
);
CREATE INDEX qxddi160_i1 ON qxddi160 (appl, cpac, cmod, flno, fdnm);
-- indexes of a table
CREATE TABLE qxddi200 (
  appl TEXT COLLATE RTRIM,
  cpac TEXT COLLATE RTRIM,
  cmod TEXT COLLATE RTRIM,
  flno TEXT COLLATE RTRIM,
  indn INTEGER,
  dupl TEXT COLLATE RTRIM,
  acti TEXT COLLATE RTRIM,
  pt01 TEXT COLLATE RTRIM,
  pt02 TEXT COLLATE RTRIM,
  pt03 TEXT COLLATE RTRIM,
  pt04 TEXT COLLATE RTRIM,
  pt05 TEXT COLLATE RTRIM,
  pt06 TEXT COLLATE RTRIM,
  pt07 TEXT COLLATE RTRIM,
  pt08 TEXT COLLATE RTRIM,
  pt09 TEXT COLLATE RTRIM,
  pt10 TEXT COLLATE RTRIM,
  pt11 TEXT COLLATE RTRIM,
  pt12 TEXT COLLATE RTRIM,
  pt13 TEXT COLLATE RTRIM,
  pt14 TEXT COLLATE RTRIM,
  pt15 TEXT COLLATE RTRIM,
  pt16 TEXT COLLATE RTRIM,
  pt17 TEXT COLLATE RTRIM,
  pt18 TEXT COLLATE RTRIM,
  pt19 TEXT COLLATE RTRIM,
  pt20 TEXT COLLATE RTRIM,
  pt21 TEXT COLLATE RTRIM,
  pt22 TEXT COLLATE RTRIM,
  pt23 TEXT COLLATE RTRIM,
  pt24 TEXT COLLATE RTRIM
);
CREATE INDEX qxddi200_i1 ON qxddi200 (appl, cpac, cmod, flno);
-- domains
CREATE TABLE qxddi220 (
  appl TEXT COLLATE RTRIM,
  cpac TEXT COLLATE RTRIM,
  cdom TEXT COLLATE RTRIM,
  type TEXT COLLATE RTRIM,
  leng INTEGER,
  diga INTEGER,
  adju TEXT COLLATE RTRIM,
  conv TEXT COLLATE RTRIM,
  digb INTEGER
);
CREATE INDEX qxddi220_i1 ON qxddi220 (appl, cpac, cdom);
-- enumeration constants of a domain
CREATE TABLE qxddi230 (
  appl TEXT COLLATE RTRIM,
  cpac TEXT COLLATE RTRIM,
  cdom TEXT COLLATE RTRIM,
  ctnm TEXT COLLATE RTRIM,
  cnst TEXT COLLATE RTRIM
);
CREATE INDEX qxddi230_i1 ON qxddi230 (appl, cpac, cdom);
-- conversion codes
CREATE TABLE qxlgy115 (
  code TEXT COLLATE RTRIM,
  ival TEXT COLLATE RTRIM,
  oval TEXT COLLATE RTRIM
);
-- tables of a legacy application
CREATE TABLE qxlgy140 (
  appl TEXT COLLATE RTRIM,
  cpac TEXT COLLATE RTRIM,
  cmod TEXT COLLATE RTRIM,
  flno TEXT COLLATE RTRIM,
  sour TEXT COLLATE RTRIM,
  logn TEXT COLLATE RTRIM,
  pswd TEXT COLLATE RTRIM
);
CREATE INDEX qxlgy140_i1 ON qxlgy140 (appl, cpac, cmod, flno);
-- layout of a legacy file
CREATE TABLE qxlgy141 (
  appl TEXT COLLATE RTRIM,
  cpac TEXT COLLATE RTRIM,
  cmod TEXT COLLATE RTRIM,
  flno TEXT COLLATE RTRIM,
  sepr TEXT COLLATE RTRIM,
  tcol INTEGER,
  nskp INTEGER
);
CREATE INDEX qxlgy141_i1 ON qxlgy141 (appl, cpac, cmod, flno);
-- fields of a legacy file
CREATE TABLE qxlgy150 (
  appl TEXT COLLATE RTRIM,
  cpac TEXT COLLATE RTRIM,
  cmod TEXT COLLATE RTRIM,
  flno TEXT COLLATE RTRIM,
  flna TEXT COLLATE RTRIM,
  dtyp TEXT COLLATE RTRIM,
  spos INTEGER,
  epos INTEGER,
  seqn INTEGER
);
CREATE INDEX qxlgy150_i1 ON qxlgy150 (appl, cpac, cmod, flno);
-- function library
CREATE TABLE qxlib100 (
  mprf INTEGER,
  vers TEXT COLLATE RTRIM,
  rele TEXT COLLATE RTRIM,
  cust TEXT COLLATE RTRIM,
  fnam TEXT COLLATE RTRIM,
  fdef TEXT COLLATE RTRIM
);
CREATE INDEX qxlib100_i1 ON qxlib100 (mprf);
-- The component's statements look tables up by concatenated keys
-- (cpac + cmod + flno, with "." and the field name, cpac + cdom); these
-- expression indexes let them do so without scanning the table.
CREATE INDEX qxddi140_code ON qxddi140 (appl, (cpac || cmod || flno));
CREATE INDEX qxddi150_code ON qxddi150 (appl, (cpac || cmod || flno));
CREATE INDEX qxddi150_field ON qxddi150 (appl, (cpac || cmod || flno || '.' || fdnm));
CREATE INDEX qxddi160_code ON qxddi160 (appl, (cpac || cmod || flno), fdnm);
CREATE INDEX qxddi200_code ON qxddi200 (appl, (cpac || cmod || flno));
CREATE INDEX qxddi220_domain ON qxddi220 (appl, (cpac || cdom));
CREATE INDEX qxddi230_constant ON qxddi230 (appl, (cpac || cdom || '.' || ctnm));
