-- Demo repository: a migration from the order-entry application ORDENT
-- (source) to the new sales application SALES (target), profile 1, version
-- 0100, release 01, customer DEMO. Profile 2 (version 0200) is derived from
-- profile 1 and keeps only the objects that changed.

INSERT INTO qxddi100 (appl, extn) VALUES ('ORDENT', 1), ('SALES', 1);

INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme, apln) VALUES
  (1, 'ORDENT', 'SALES', '0100', '01', 'DEMO', '', '', '', 1, 'N', NULL),
  (2, 'ORDENT', 'SALES', '0200', '01', 'DEMO', '0100', '01', 'DEMO', 1, 'N', NULL);

-- Tables of both applications.
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('ORDENT', 'oe', 'cus', '001'),
  ('ORDENT', 'oe', 'ord', '001'),
  ('ORDENT', 'oe', 'ord', '002'),
  ('SALES', 'sa', 'cus', '010'),
  ('SALES', 'sa', 'ord', '020'),
  ('SALES', 'sa', 'ord', '021'),
  ('SALES', 'sa', 'prd', '030'),
  ('SALES', 'sa', 'prd', '031'),
  ('SALES', 'sa', 'prd', '032');

-- Domains of the target application.
INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, adju, conv, digb) VALUES
  ('SALES', 'sa', 'custno', 'L', 8, 0, 'R', ' ', 8),
  ('SALES', 'sa', 'name', 'S', 40, 0, 'L', 'U', 0),
  ('SALES', 'sa', 'amount', 'D', 15, 2, 'R', ' ', 13),
  ('SALES', 'sa', 'status', 'E', 1, 0, 'L', ' ', 1),
  ('SALES', 'sa', 'created', 'K', 22, 0, 'L', ' ', 0),
  ('SALES', 'sa', 'qty', 'I', 6, 0, 'R', ' ', 6),
  ('SALES', 'sa', 'text', 'M', 200, 0, 'L', ' ', 0),
  ('ORDENT', 'oe', 'custno', 'L', 8, 0, 'R', ' ', 8),
  ('ORDENT', 'oe', 'name', 'S', 30, 0, 'L', ' ', 0),
  ('ORDENT', 'oe', 'amount', 'D', 12, 2, 'R', ' ', 10);

INSERT INTO qxddi230 (appl, cpac, cdom, ctnm, cnst) VALUES
  ('SALES', 'sa', 'status', 'open', '1'),
  ('SALES', 'sa', 'status', 'closed', '2');

-- Fields of the target tables.
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('SALES', 'sa', 'cus', '010', 'custno', 1, 'sacustno', '0', 0, 'Y', 'N'),
  ('SALES', 'sa', 'cus', '010', 'name', 2, 'saname', '', 0, 'N', 'N'),
  ('SALES', 'sa', 'cus', '010', 'created', 3, 'sacreated', '', 0, 'Y', 'N'),
  ('SALES', 'sa', 'cus', '010', 'status', 4, 'sastatus', '1', 0, 'N', 'N'),
  ('SALES', 'sa', 'ord', '020', 'ordno', 1, 'sacustno', '0', 0, 'Y', 'N'),
  ('SALES', 'sa', 'ord', '020', 'custno', 2, 'sacustno', '0', 0, 'Y', 'N'),
  ('SALES', 'sa', 'ord', '020', 'total', 3, 'saamount', '', 0, 'N', 'N'),
  ('SALES', 'sa', 'ord', '020', 'key', 4, '', '', 0, 'N', 'Y'),
  ('SALES', 'sa', 'ord', '021', 'ordno', 1, 'sacustno', '0', 0, 'Y', 'N'),
  ('SALES', 'sa', 'ord', '021', 'lineno', 2, 'saqty', '0', 0, 'Y', 'N'),
  ('SALES', 'sa', 'ord', '021', 'qty', 3, 'saqty', '1', 4, 'N', 'N'),
  ('SALES', 'sa', 'prd', '030', 'prodno', 1, 'sacustno', '0', 0, 'Y', 'N'),
  ('SALES', 'sa', 'prd', '030', 'descr', 2, 'satext', '', 0, 'N', 'N'),
  ('ORDENT', 'oe', 'cus', '001', 'kunr', 1, 'oecustno', '0', 0, 'Y', 'N'),
  ('ORDENT', 'oe', 'cus', '001', 'kname', 2, 'oename', '', 0, 'N', 'N'),
  ('ORDENT', 'oe', 'ord', '001', 'aufnr', 1, 'oecustno', '0', 0, 'Y', 'N'),
  ('ORDENT', 'oe', 'ord', '001', 'kunr', 2, 'oecustno', '0', 0, 'Y', 'N'),
  ('ORDENT', 'oe', 'ord', '001', 'betrag', 3, 'oeamount', '', 0, 'N', 'N');

INSERT INTO qxddi160 (appl, cpac, cmod, flno, fdnm, chld, sern) VALUES
  ('SALES', 'sa', 'ord', '020', 'key', 'custno', 1),
  ('SALES', 'sa', 'ord', '020', 'key', 'ordno', 2);

INSERT INTO qxddi200 (appl, cpac, cmod, flno, indn, dupl, acti, pt01, pt02) VALUES
  ('SALES', 'sa', 'cus', '010', 1, '0', '1', 'custno', NULL),
  ('SALES', 'sa', 'ord', '020', 1, '0', '1', 'ordno', NULL),
  ('SALES', 'sa', 'ord', '020', 2, '1', '1', 'custno', 'ordno'),
  ('ORDENT', 'oe', 'cus', '001', 1, '0', '1', 'kunr', NULL);

-- Mapping objects of profile 1: customers and orders are verified, order
-- lines were generated, products are maintained without rules yet, 031 has
-- expired and 032 was never mapped.
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, stbl, prtx, comt, isms, vari) VALUES
  (1, '0100', '01', 'DEMO', 'sa', 'cus', '010', 'V', 'oecus001',
   'migrate oecus001' || char(13, 10) || 'count = empty() | start at zero', 'Customers', 0,
   'long count~^~string custname(40)~^~#include <sales.h>'),
  (1, '0100', '01', 'DEMO', 'sa', 'ord', '020', 'V', 'oeord001,oecus001',
   'migrate oeord001', 'Orders with their customer', 0, NULL),
  (1, '0100', '01', 'DEMO', 'sa', 'ord', '021', 'G', 'oeord002',
   'migrate oeord002', NULL, 0, NULL),
  (1, '0100', '01', 'DEMO', 'sa', 'prd', '030', 'M', NULL, NULL, NULL, 0, NULL),
  (1, '0100', '01', 'DEMO', 'sa', 'prd', '031', 'X', NULL, NULL, 'replaced by 030', 0, NULL),
  -- profile 2 changed the customers only
  (2, '0200', '01', 'DEMO', 'sa', 'cus', '010', 'V', 'oecus001',
   'migrate oecus001', 'Customers, second release', 0, NULL);

INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (1, '0100', '01', 'DEMO', 'sa', 'cus', '010', 'oe', 'cus', '001', 'S',
   'select * from oecus001 where kunr > 0'),
  (1, '0100', '01', 'DEMO', 'sa', 'ord', '020', 'oe', 'ord', '001', 'S',
   'select * from oeord001 order by aufnr'),
  (1, '0100', '01', 'DEMO', 'sa', 'ord', '020', 'oe', 'ord', '001', 'D',
   'select kname from oecus001 where kunr = :oeord001.kunr'),
  (1, '0100', '01', 'DEMO', 'sa', 'ord', '021', 'oe', 'ord', '002', 'S',
   'select * from oeord002');

INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (1, '0100', '01', 'DEMO', 'sa', 'cus', '010', 'custno', 'oecus001.kunr', 0, 1),
  (1, '0100', '01', 'DEMO', 'sa', 'cus', '010', 'name', 'oecus001.kname', 0, 1),
  (1, '0100', '01', 'DEMO', 'sa', 'cus', '010', 'status', 'target(sastatus.open)', 0, 1),
  (1, '0100', '01', 'DEMO', 'sa', 'cus', '010', 'created', 'now()', 0, 1),
  (1, '0100', '01', 'DEMO', 'sa', 'cus', '010', 'custno', 'oecus001.kunr', 0, 2),
  (1, '0100', '01', 'DEMO', 'sa', 'cus', '010', 'name', 'custname', 1, 2),
  (1, '0100', '01', 'DEMO', 'sa', 'ord', '020', 'ordno', 'oeord001.aufnr', 0, 1),
  (1, '0100', '01', 'DEMO', 'sa', 'ord', '020', 'custno', 'oeord001.kunr', 0, 1),
  (1, '0100', '01', 'DEMO', 'sa', 'ord', '020', 'total', 'oeord001.betrag', 0, 1),
  (1, '0100', '01', 'DEMO', 'sa', 'ord', '021', 'ordno', 'oeord002.aufnr', 0, 1),
  (1, '0100', '01', 'DEMO', 'sa', 'ord', '021', 'qty(1)', 'oeord002.menge', 0, 1);

INSERT INTO qxmap160 (mprf, vers, rele, cust, tcpac, tcmod, tflno, func) VALUES
  (1, '0100', '01', 'DEMO', 'sa', 'ord', '020', 'function check_total()
  return 1
endfunction');

-- Invoices: an M-script. The header (sa inv 040) and its lines (sa inv 041)
-- run as one unit whose parent is sa inv 400.
INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES
  ('ORDENT', 'oe', 'inv', '001'),
  ('SALES', 'sa', 'inv', '040'),
  ('SALES', 'sa', 'inv', '041');

INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('SALES', 'sa', 'inv', '040', 'invno', 1, 'sacustno', '0', 0, 'Y', 'N'),
  ('SALES', 'sa', 'inv', '040', 'custno', 2, 'sacustno', '0', 0, 'Y', 'N'),
  ('SALES', 'sa', 'inv', '041', 'invno', 1, 'sacustno', '0', 0, 'Y', 'N'),
  ('SALES', 'sa', 'inv', '041', 'amount', 2, 'saamount', '', 0, 'N', 'N'),
  ('ORDENT', 'oe', 'inv', '001', 'rechnr', 1, 'oecustno', '0', 0, 'Y', 'N'),
  ('ORDENT', 'oe', 'inv', '001', 'kunr', 2, 'oecustno', '0', 0, 'Y', 'N'),
  ('ORDENT', 'oe', 'inv', '001', 'betrag', 3, 'oeamount', '', 0, 'N', 'N');

INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, stbl, prtx, comt, isms, vari) VALUES
  (1, '0100', '01', 'DEMO', 'sa', 'inv', '040', 'V', 'oeinv001', 'migrate oeinv001', 'Invoice headers', 1, NULL),
  (1, '0100', '01', 'DEMO', 'sa', 'inv', '041', 'V', 'oeinv001', 'migrate oeinv001', 'Invoice lines', 1, NULL);

INSERT INTO qxmap170 (mprf, vers, rele, cust, cpac, cmod, cflno, bpac, bmod, bflno) VALUES
  (1, '0100', '01', 'DEMO', 'sa', 'inv', '040', 'sa', 'inv', '400'),
  (1, '0100', '01', 'DEMO', 'sa', 'inv', '041', 'sa', 'inv', '400');

INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (1, '0100', '01', 'DEMO', 'sa', 'inv', '400', 'oe', 'inv', '001', 'S', 'select * from oeinv001');

INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (1, '0100', '01', 'DEMO', 'sa', 'inv', '040', 'invno', 'oeinv001.rechnr', 0, 1),
  (1, '0100', '01', 'DEMO', 'sa', 'inv', '040', 'custno', 'oeinv001.kunr', 0, 1),
  (1, '0100', '01', 'DEMO', 'sa', 'inv', '041', 'invno', 'oeinv001.rechnr', 0, 1),
  (1, '0100', '01', 'DEMO', 'sa', 'inv', '041', 'amount', 'oeinv001.betrag', 0, 1);

-- Orders are converted by several processes in parallel, split over the
-- order number.
INSERT INTO qxmap300 (ttbl, stbl, flst) VALUES ('saord020', 'oeord001', 'aufnr');

-- Profile 3, for the legacy class: the old branch system FLATBR keeps its
-- customers in a fixed-length file and its orders in a comma-separated file,
-- and its stock in a database table reached through its own connection; the
-- target is SALES again. Codes of the old system are translated by the
-- conversion codes; its lookup application is the branch directory BRDIR.
-- Invoices are an M-script; orders are split over several processes.
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme, apln) VALUES
  (3, 'FLATBR', 'SALES', '0300', '01', 'DEMO', '', '', '', 1, 'N', 'BRDIR');

INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, stbl, prtx, comt, isms, vari) VALUES
  (3, '0300', '01', 'DEMO', 'sa', 'cus', '010', 'V', 'brcust.txt,brorders.csv,STOCK',
   'if brcust.kdnr > 0 then migrate brcust', NULL, 0,
   'dim openorders' || char(13) || char(10) || '#include <branch_region>'),
  (3, '0300', '01', 'DEMO', 'sa', 'ord', '020', 'G', 'brorders.csv', 'migrate brorders.csv', NULL, 0, NULL),
  (3, '0300', '01', 'DEMO', 'sa', 'inv', '040', 'V', 'brorders.csv', NULL, 'Invoice headers', 1, NULL),
  (3, '0300', '01', 'DEMO', 'sa', 'inv', '041', 'V', 'brorders.csv', NULL, 'Invoice lines', 1, NULL);

-- The invoice M-script of the branch system, and its orders split over
-- several processes by order number.
INSERT INTO qxmap170 (mprf, vers, rele, cust, cpac, cmod, cflno, bpac, bmod, bflno) VALUES
  (3, '0300', '01', 'DEMO', 'sa', 'inv', '040', 'sa', 'inv', '400'),
  (3, '0300', '01', 'DEMO', 'sa', 'inv', '041', 'sa', 'inv', '400');
INSERT INTO qxmap300 (ttbl, stbl, flst) VALUES ('saord020', 'brorders.csv', 'ORDNR');

-- The branch directory's region lookup, kept in the function library.
INSERT INTO qxlib100 (mprf, vers, rele, cust, fnam, fdef) VALUES
  (3, '0300', '01', 'DEMO', 'BRANCH_REGION',
   'function branch_region(kdnr)' || char(13) || char(10) ||
   '  branch_region = left(kdnr, 2)' || char(13) || char(10) || 'end function');

-- Source queries: the customers' orders counted per customer.
INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury) VALUES
  (3, '0300', '01', 'DEMO', 'sa', 'cus', '010', 'qx', 'fil', 'brcust.txt', 'S',
   'select c.kdnr, c.name$ from brcust.txt c'),
  (3, '0300', '01', 'DEMO', 'sa', 'cus', '010', 'qx', 'fil', 'brcust.txt', 'D',
   'openorders = 0' || char(13) || char(10) ||
   'select o.ordnr from brorders.csv o where o.kdnr = brcust.kdnr selectdo openorders = openorders + 1 endselect'),
  (3, '0300', '01', 'DEMO', 'sa', 'ord', '020', 'qx', 'fil', 'brorders.csv', 'S',
   'select * from brorders.csv');

-- Field rules: plain copies, a converted status, a date from the old system.
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES
  (3, '0300', '01', 'DEMO', 'sa', 'cus', '010', 'custno', 'brcust.kdnr', 0, 1),
  (3, '0300', '01', 'DEMO', 'sa', 'cus', '010', 'name', 'brcust.name$', 0, 1),
  (3, '0300', '01', 'DEMO', 'sa', 'cus', '010', 'created', 'to_utc(brcust.since)', 0, 1),
  (3, '0300', '01', 'DEMO', 'sa', 'ord', '020', 'ordno', 'brorders.ordnr', 0, 1),
  (3, '0300', '01', 'DEMO', 'sa', 'ord', '020', 'custno', 'brorders.kdnr', 0, 1),
  (3, '0300', '01', 'DEMO', 'sa', 'ord', '020', 'status', 'get.code("ORDSTAT", brorders.state)', 0, 1),
  (3, '0300', '01', 'DEMO', 'sa', 'inv', '040', 'invno', 'brorders.ordnr', 0, 1),
  (3, '0300', '01', 'DEMO', 'sa', 'inv', '040', 'custno', 'brorders.kdnr', 0, 1),
  (3, '0300', '01', 'DEMO', 'sa', 'inv', '041', 'invno', 'brorders.ordnr', 0, 1),
  (3, '0300', '01', 'DEMO', 'sa', 'inv', '041', 'amount', 'brorders.betrag', 0, 1);

INSERT INTO qxlgy141 (appl, cpac, cmod, flno, sepr, tcol, nskp) VALUES
  ('FLATBR', 'qx', 'fil', 'brcust.txt', NULL, 0, 0),
  ('FLATBR', 'qx', 'fil', 'brorders.csv', ',', 1, 1);

INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, dtyp, spos, epos, seqn) VALUES
  ('FLATBR', 'qx', 'fil', 'brcust.txt', 'KDNR', 'L', 1, 9, 1),
  ('FLATBR', 'qx', 'fil', 'brcust.txt', 'NAME$', 'U', 9, 49, 2),
  ('FLATBR', 'qx', 'fil', 'brcust.txt', 'SINCE', 'T', 49, 59, 3),
  ('FLATBR', 'qx', 'fil', 'brorders.csv', 'ORDNR', 'L', NULL, NULL, 1),
  ('FLATBR', 'qx', 'fil', 'brorders.csv', 'KDNR', 'L', NULL, NULL, 2),
  ('FLATBR', 'qx', 'fil', 'brorders.csv', 'BETRAG', 'C', NULL, NULL, 3),
  ('FLATBR', 'qx', 'fil', 'brorders.csv', 'STATE', 'U', NULL, NULL, 4),
  ('FLATBR', 'qx', 'tbl', 'STOCK', 'ARTNR', 'L', NULL, NULL, 1);

INSERT INTO qxlgy140 (appl, cpac, cmod, flno, sour, logn, pswd) VALUES
  ('FLATBR', 'qx', 'tbl', 'STOCK', 'branch_stock', 'stockreader', 'demo-only');

INSERT INTO qxlgy115 (code, ival, oval) VALUES
  ('ORDSTAT', 'O', 'open'),
  ('ORDSTAT', 'S', 'shipped'),
  ('PAYTERM', '30', 'net 30 days');

INSERT INTO qxddi101 (appl, sour, logn, pswd) VALUES ('BRDIR', 'branch_directory', 'dirreader', 'demo-only');
