#include "updater/UpdateServer.h"

#include "webupdate/WebUpdate.h"

void ConfigureUpdateServer(TWebUpdate& webUpdate) {
    webUpdate.ProductInfo()->SetURL(FOLHAVIDA_UPDATE_URL);
    webUpdate.SetHTTPPort(FOLHAVIDA_UPDATE_PORT);
}
