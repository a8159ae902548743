#!/usr/bin/env python3
"""Writes an SQL script for a large synthetic profile, to measure generation speed.

    tools/large_profile.py TABLES OUT.sql
    build/tqlm-xmlgen init-repository large.db OUT.sql
    time build/tqlm-xmlgen generate --repository large.db --profile 1 --xml-path xml --log run.log \
        --package-from ab --package-to ab --module-from m00 --module-to m99 --table-from 000 --table-to 999

Every target table has 20 fields over five domains, two indexes, a source table
with the same fields, a pre-condition with a migrate statement and an empty()
assignment, a main query, and a rule for every field in two dumps.
"""
import sys


def main():
    tables, path = int(sys.argv[1]), sys.argv[2]
    fields = 20
    out = ["INSERT INTO qxmap100 VALUES (1,'SRC','TRG','0100','01','STD ','','','',1,'N',NULL);"]
    for d, (t, l) in enumerate([('S', 30), ('L', 8), ('D', 12), ('K', 22), ('E', 1)]):
        for appl, pac, adju, conv in (('TRG', 'ab', 'L', 'U'), ('SRC', 'xy', 'R', ' ')):
            out.append("INSERT INTO qxddi220 (appl,cpac,cdom,type,leng,diga,adju,conv,digb) VALUES "
                       f"('{appl}','{pac}','d{d}','{t}',{l},2,'{adju}','{conv}',8);")
    for i in range(tables):
        mod, fl = f"m{i // 1000:02d}", f"{i % 1000:03d}"
        key = f"1,'0100','01','STD ','ab','{mod}','{fl}'"
        out.append(f"INSERT INTO qxddi140 VALUES ('TRG','ab','{mod}','{fl}');")
        out.append("INSERT INTO qxmap120 (mprf,vers,rele,cust,tcpac,tcmod,tflno,stat,stbl,prtx,isms,vari) VALUES "
                   f"({key},'V','xy{mod}{fl}','migrate xy{mod}{fl}' || char(13,10) || 'x = empty()', 0, 'long x');")
        out.append("INSERT INTO qxmap130 (mprf,vers,rele,cust,tcpac,tcmod,tflno,scpac,scmod,sflno,icod,qury) VALUES "
                   f"({key},'xy','{mod}','{fl}','S','select * from xy{mod}{fl} where f1 > 0');")
        out.append("INSERT INTO qxddi200 (appl,cpac,cmod,flno,indn,dupl,acti,pt01,pt02) VALUES "
                   f"('TRG','ab','{mod}','{fl}',1,'0','1','f0','f1');")
        out.append("INSERT INTO qxddi200 (appl,cpac,cmod,flno,indn,dupl,acti,pt01) VALUES "
                   f"('SRC','xy','{mod}','{fl}',1,'0','1','f0');")
        for f in range(fields):
            for appl, pac, mand in (('TRG', 'ab', 'Y'), ('SRC', 'xy', 'N')):
                out.append("INSERT INTO qxddi150 (appl,cpac,cmod,flno,fdnm,fdno,cdom,iniv,dept,mand,comb) VALUES "
                           f"('{appl}','{pac}','{mod}','{fl}','f{f}',{f},'{pac}d{f % 5}','',0,'{mand}','N');")
            for dump in (1, 2):
                out.append("INSERT INTO qxmap140 (mprf,vers,rele,cust,tcpac,tcmod,tflno,fdnm,mrul,type,dnum) VALUES "
                           f"({key},'f{f}','xy{mod}{fl}.f{f}',0,{dump});")
    with open(path, "w") as sql:
        sql.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
