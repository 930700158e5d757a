#!/usr/bin/python3
"""Writes the workbooks beside this script from their .fods sources with
LibreOffice Calc. Run by hand when a source changes and commit the results;
neither the build nor CI runs it. Needs soffice and Debian's python3-uno
(run with /usr/bin/python3, whose modules python3-uno extends).

    apt-get install libreoffice-calc-nogui python3-uno
    /usr/bin/python3 tests/subsidy/data/make-workbooks.py
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
PASSWORD = "1234"


def convert(source, kind):
    subprocess.run(["soffice", "--headless", "--convert-to", kind, "--outdir", HERE,
                    os.path.join(HERE, source)], check=True, stdout=subprocess.DEVNULL)


def without_results(source, target):
    """The workbook as openpyxl and other writers leave formulas: each formula
    cell keeps its formula, its <v> is emptied and its result type dropped."""
    with zipfile.ZipFile(os.path.join(HERE, source)) as zin, \
            zipfile.ZipFile(os.path.join(HERE, target), "w", zipfile.ZIP_DEFLATED) as zout:
        for item in zin.infolist():
            data = zin.read(item.filename)
            if item.filename.startswith("xl/worksheets/sheet"):
                text = data.decode("utf-8")
                text = re.sub(r'<c ([^>]*?) t="(?:str|e|n|b)"(>\s*<f)', r'<c \1\2', text)
                text = re.sub(r"(</f>)<v>[^<]*</v>", r"\1<v></v>", text)
                data = text.encode("utf-8")
            zout.writestr(item, data)


def as_cryptoapi(source, target):
    """soffice writes only RC4 into .xls; the CryptoAPI kind that other
    programs write differs in the FILEPASS header's version (4.2 for 1.1).
    The copy says so and keeps the rest, which a reader that refuses any
    encryption never decrypts."""
    with open(os.path.join(HERE, source), "rb") as f:
        data = bytearray(f.read())
    at = data.find(bytes.fromhex("2f003600010001000100"))
    if at < 0:
        sys.exit(source + ": no RC4 FILEPASS record")
    data[at + 6:at + 10] = bytes.fromhex("04000200")
    with open(os.path.join(HERE, target), "wb") as f:
        f.write(data)


def with_password(source, target, filter_name):
    """Opens the source in a running soffice and stores it encrypted as its
    password dialog would: RC4 for .xls (a FILEPASS record), the ECMA-376
    standard encryption for .xlsx (an OLE file holding EncryptedPackage; the
    agile kind this version of soffice refuses to write)."""
    import uno
    from com.sun.star.beans import NamedValue, PropertyValue

    def props(**kw):
        out = []
        for k, v in kw.items():
            p = PropertyValue()
            p.Name, p.Value = k, v
            out.append(p)
        return tuple(out)

    if filter_name.startswith("MS Excel"):
        secret = props(Password=PASSWORD)
    else:
        data = []
        for k, v in (("OOXPassword", PASSWORD), ("CryptoType", "Standard")):
            n = NamedValue()
            n.Name, n.Value = k, v
            data.append(n)
        secret = props(EncryptionData=uno.Any("[]com.sun.star.beans.NamedValue", tuple(data)))

    profile = tempfile.mkdtemp()
    office = subprocess.Popen(["soffice", "--headless", "--invisible", "--norestore",
                               "-env:UserInstallation=file://" + profile,
                               "--accept=pipe,name=tolvenkfx;urp;"])
    try:
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        for _ in range(60):
            try:
                ctx = resolver.resolve("uno:pipe,name=tolvenkfx;urp;StarOffice.ComponentContext")
                break
            except Exception:
                time.sleep(0.5)
        else:
            sys.exit("soffice did not answer")
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.join(HERE, source)), "_blank", 0,
                                           props(Hidden=True))
        uno.invoke(doc, "storeToURL", (uno.systemPathToFileUrl(os.path.join(HERE, target)),
                                       uno.Any("[]com.sun.star.beans.PropertyValue",
                                               props(FilterName=filter_name) + secret)))
        doc.close(True)
        try:
            desktop.terminate()
        except Exception:
            pass
    finally:
        office.wait(timeout=60)
        shutil.rmtree(profile, ignore_errors=True)


for name in ("calc-amounts", "calc-formulas", "calc-cells"):
    convert(name + ".fods", "xls")
convert("calc-formulas.fods", "xlsx")
convert("calc-cells.fods", "xlsx")
without_results("calc-formulas.xlsx", "calc-formulas-unsaved.xlsx")
with_password("calc-amounts.fods", "calc-locked.xls", "MS Excel 97")
with_password("calc-amounts.fods", "calc-locked.xlsx", "Calc MS Excel 2007 XML")
as_cryptoapi("calc-locked.xls", "calc-locked-cryptoapi.xls")
