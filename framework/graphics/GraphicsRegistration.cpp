#include "framework/graphics/GraphicsRegistration.h"

#include "framework/classes/ClassesRegistration.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/GraphicsObjects.h"
#include "framework/graphics/Icon.h"
#include "framework/graphics/ImageList.h"
#include "framework/graphics/JpegImage.h"
#include "framework/graphics/Metafile.h"
#include "framework/graphics/Picture.h"

void RegisterGraphicsClasses() {
    RegisterClassesClasses();
    RegisterColorIdents();
    RegisterClasses<TGraphicsObject, TFont, TPen, TBrush>();
    RegisterClasses<TGraphic>();
    RegisterClasses<TBitmap>();
    RegisterClasses<TMetafile>();
    RegisterClasses<TIcon>();
    RegisterClasses<TJPEGImage>();
    RegisterClasses<TPicture>();
    RegisterClasses<TImageList>();
}
